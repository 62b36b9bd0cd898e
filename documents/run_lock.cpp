#include "run_lock.h"

#include <algorithm>
#include <thread>

#include "beside_names.h"
#include "file_target.h"
#include "lock_attempt.h"

namespace addfolder {
namespace {

// A run that holds the lock briefly is noticed soon; a long wait costs few tries.
constexpr std::chrono::milliseconds first_pause{10};
constexpr std::chrono::milliseconds longest_pause{200};

}  // namespace

document_error acquire_run_lock(const wide_path& project_file, std::chrono::milliseconds patience, run_lock& lock,
                                const std::function<bool()>& keep_waiting) {
  lock.release();
  // Beside the final target, which runs through any link to the project find alike.
  wide_path target;
  if (document_error error = final_target(project_file, target)) {
    error.failure = document_failure::lock_failed;
    return error;
  }
  const wide_path lock_file = lock_name(target);
  const auto deadline = std::chrono::steady_clock::now() + patience;
  std::chrono::milliseconds pause = first_pause;
  while (true) {
    int code = 0;
    switch (try_run_lock(lock_file, lock, code)) {
      case lock_try::taken:
      case lock_try::unsupported:
        return {};
      case lock_try::not_a_file:
        return make_document_error(document_failure::lock_not_a_file, lock_file);
      case lock_try::failed:
        return make_document_error(document_failure::lock_failed, project_file, code);
      case lock_try::busy:
        break;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return make_document_error(document_failure::lock_timed_out, project_file);
    // A user who gives up on a long wait is not kept waiting out its minute.
    if (keep_waiting && !keep_waiting()) return make_document_error(document_failure::lock_wait_stopped, project_file);
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
    pause = std::min(pause * 2, longest_pause);
  }
}

}  // namespace addfolder
