// Another process that holds a project's run lock until it is killed, as a
// second run would, or a run that dies while it holds the lock.
#pragma once

#include <cstdint>

#include "path.h"

namespace addfolder::test_support {

// The process; it ends when its holder is destroyed, or when the test program
// dies, as it waits on a pipe from it.
class lock_holder {
 public:
  lock_holder() = default;
  ~lock_holder() { kill(); }
  lock_holder(const lock_holder&) = delete;
  lock_holder& operator=(const lock_holder&) = delete;

  // Starts the process, which takes the lock of project_file without waiting;
  // true once it holds it. Start it before this process holds any lock: on
  // POSIX the process is a fork and would share it.
  bool start(const wide_path& project_file);
  // Kills the process without warning, as a user or the system may, and waits
  // for its end.
  void kill();

 private:
  // The process (a process id or a handle) and the pipe it waits on; 0 for none.
  std::intptr_t process_ = 0;
  std::intptr_t pipe_ = 0;
};

}  // namespace addfolder::test_support
