// The lock that makes runs on one project take turns.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <utility>

#include "path.h"

namespace addfolder {

// How taking the run lock ended.
enum class lock_outcome {
  // The lock is held.
  acquired,
  // Another run held the lock for all of the patience.
  timed_out,
  // The project's file system cannot lock its folder; nothing is held, and the
  // run goes on without the lock as it would have before there was one.
  unsupported,
  // The project file cannot be found, or its folder cannot be opened.
  failed,
};

class run_lock;

// Takes the exclusive lock of the project whose file is project_file (links
// followed), waiting up to patience while another run or another lock in this
// process holds it. Any lock that lock held before is let go first.
lock_outcome acquire_run_lock(const wide_path& project_file, std::chrono::milliseconds patience, run_lock& lock);

// An exclusive lock of one project, or none. It leaves nothing behind: the
// system lets it go when the process ends, however it ends.
class run_lock {
 public:
  // No lock.
  run_lock() = default;
  // Takes other's lock over; other holds none afterwards.
  run_lock(run_lock&& other) noexcept : native_(std::exchange(other.native_, none)) {}
  // Lets this lock go and takes other's over.
  run_lock& operator=(run_lock&& other) noexcept {
    if (this != &other) {
      release();
      native_ = std::exchange(other.native_, none);
    }
    return *this;
  }
  // Lets the lock go.
  ~run_lock() { release(); }

  // True while a lock is held.
  bool held() const { return native_ != none; }
  // Lets the lock go; does nothing where none is held.
  void release();

 private:
  friend lock_outcome acquire_run_lock(const wide_path& project_file, std::chrono::milliseconds patience,
                                       run_lock& lock);

  // No descriptor on POSIX, INVALID_HANDLE_VALUE on Windows.
  static constexpr std::intptr_t none = -1;
  std::intptr_t native_ = none;
};

// For the platform files: calls attempt, which tries once without waiting and
// gives timed_out while another holds the lock, until it gives something else
// or patience runs out, with short pauses in between that grow.
lock_outcome wait_for_lock(std::chrono::milliseconds patience, const std::function<lock_outcome()>& attempt);

}  // namespace addfolder
