#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "run_lock.h"
#include "file_system.h"
#include "posix_path.h"

namespace addfolder {
namespace {

// How a file system says that it cannot lock a folder. An NFS client that
// sends flock to the server as a lock of the whole file needs a descriptor
// open for writing, which a folder never is; such a client says EBADF.
bool is_unsupported(int error) {
  return error == EBADF || error == EINVAL || error == ENOLCK || error == ENOTSUP || error == EOPNOTSUPP ||
         error == ENOSYS;
}

}  // namespace

// The lock is a flock of the project folder: it makes no file, and the system
// drops it with the last descriptor of the folder, so also when the run is
// killed. Each call opens the folder anew, so two locks in one process
// exclude each other too.
lock_outcome acquire_run_lock(const wide_path& project_file, std::chrono::milliseconds patience, run_lock& lock) {
  lock.release();
  // The folder of the final target, which runs through any link to the project find alike.
  wide_path target;
  std::string folder;
  if (query_final_path(project_file, target) != 0 || !to_posix_path(parent_path(target), folder)) {
    return lock_outcome::failed;
  }
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return lock_outcome::failed;
  const lock_outcome outcome = wait_for_lock(patience, [fd] {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return lock_outcome::acquired;
    if (errno == EWOULDBLOCK || errno == EINTR) return lock_outcome::timed_out;
    return is_unsupported(errno) ? lock_outcome::unsupported : lock_outcome::failed;
  });
  if (outcome == lock_outcome::acquired) {
    lock.native_ = fd;
  } else {
    close(fd);
  }
  return outcome;
}

void run_lock::release() {
  if (native_ == none) return;
  close(static_cast<int>(native_));
  native_ = none;
}

}  // namespace addfolder
