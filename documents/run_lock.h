// The lock that makes runs on one project take turns.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <utility>

#include "document_error.h"
#include "path.h"

namespace addfolder {

// How long a run waits while another run holds the project's lock.
inline constexpr std::chrono::milliseconds lock_patience{60000};

class run_lock;
enum class lock_try;

// Takes the exclusive lock of the project whose file is project_file: a
// hidden file beside its final target (beside_names' lock_name), so that two
// projects in one folder do not wait for each other. Waits up to patience
// while another run, or another lock in this process, holds it; any lock
// that lock held before is let go first. Errors: lock_timed_out, with
// nothing held; lock_not_a_file where the lock's name is taken by a folder or
// a link, at once; lock_failed with the platform's code; lock_wait_stopped,
// with nothing held, once keep_waiting (asked before each pause, where
// given) says no. Where the file system cannot lock at all, nothing is
// held, and no error: the run goes on as it would without the lock.
document_error acquire_run_lock(const wide_path& project_file, std::chrono::milliseconds patience, run_lock& lock,
                                const std::function<bool()>& keep_waiting = {});

// An exclusive lock of one project, or none. The system lets it go when the
// process ends, however it ends.
class run_lock {
 public:
  // No lock.
  run_lock() = default;
  // Takes other's lock over; other holds none afterwards.
  run_lock(run_lock&& other) noexcept
      : native_(std::exchange(other.native_, none)), file_(std::move(other.file_)) {}
  // Lets this lock go and takes other's over.
  run_lock& operator=(run_lock&& other) noexcept {
    if (this != &other) {
      release();
      native_ = std::exchange(other.native_, none);
      file_ = std::move(other.file_);
    }
    return *this;
  }
  // Lets the lock go.
  ~run_lock() { release(); }

  // True while a lock is held.
  bool held() const { return native_ != none; }
  // Lets the lock go and removes its file; does nothing where none is held.
  void release();

 private:
  friend lock_try try_run_lock(const wide_path& lock_file, run_lock& lock, int& code);

  // A descriptor on POSIX, a HANDLE on Windows.
  static constexpr std::intptr_t none = -1;
  std::intptr_t native_ = none;
  // The lock file, which a POSIX lock removes as it lets go.
  wide_path file_;
};

}  // namespace addfolder
