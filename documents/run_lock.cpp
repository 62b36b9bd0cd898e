#include "run_lock.h"

#include <algorithm>
#include <thread>

namespace addfolder {
namespace {

// A run that holds the lock briefly is noticed soon; a long wait costs few tries.
constexpr std::chrono::milliseconds first_pause{10};
constexpr std::chrono::milliseconds longest_pause{200};

}  // namespace

lock_outcome wait_for_lock(std::chrono::milliseconds patience, const std::function<lock_outcome()>& attempt) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  std::chrono::milliseconds pause = first_pause;
  while (true) {
    const lock_outcome outcome = attempt();
    if (outcome != lock_outcome::timed_out) return outcome;
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return lock_outcome::timed_out;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
    pause = std::min(pause * 2, longest_pause);
  }
}

}  // namespace addfolder
