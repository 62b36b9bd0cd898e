// For the platform files of the run lock: one try to take it.
#pragma once

#include "path.h"
#include "run_lock.h"

namespace addfolder {

// How one try to take the lock ended.
enum class lock_try {
  // The lock is held.
  taken,
  // Another holds it: try again later.
  busy,
  // The file system cannot lock: go on without.
  unsupported,
  // The lock's name is taken by something that is no file.
  not_a_file,
  // The platform refused, with its code.
  failed,
};

// Tries once, without waiting, to take the lock whose file is lock_file;
// on taken, lock holds it. code receives the platform's code on failed.
lock_try try_run_lock(const wide_path& lock_file, run_lock& lock, int& code);

}  // namespace addfolder
