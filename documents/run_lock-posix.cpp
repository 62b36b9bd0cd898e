#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "lock_attempt.h"
#include "posix_path.h"

namespace addfolder {
namespace {

// How a file system says that it cannot lock a file, or that the folder
// takes no lock file: runs then go on without the lock, as before it was.
bool is_unsupported(int error) {
  return error == EINVAL || error == ENOLCK || error == ENOTSUP || error == EOPNOTSUPP || error == ENOSYS ||
         error == EROFS || error == EACCES || error == EPERM;
}

bool is_same_file(const struct stat& left, const struct stat& right) {
  return left.st_dev == right.st_dev && left.st_ino == right.st_ino;
}

}  // namespace

// The lock is a flock of a hidden file beside the project file, which the
// system drops with the last descriptor, so also when the run is killed.
// Each try opens the file anew, so two locks in one process exclude each
// other too. The holder removes the file as it lets go; a taker that locked
// a file that was removed meanwhile tries again.
lock_try try_run_lock(const wide_path& lock_file, run_lock& lock, int& code) {
  std::string native;
  if (!to_posix_path(lock_file, native)) {
    code = EILSEQ;
    return lock_try::failed;
  }
  constexpr int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
  int fd = open(native.c_str(), O_RDWR | O_CREAT | flags, 0666);
  code = errno;
  // Another user's lock file, or one in a read-only folder, locks for reading too.
  if (fd < 0 && (code == EACCES || code == EROFS)) fd = open(native.c_str(), O_RDONLY | flags);
  if (fd < 0) {
    if (code == EISDIR || code == ELOOP || code == ENXIO) return lock_try::not_a_file;
    return is_unsupported(code) ? lock_try::unsupported : lock_try::failed;
  }
  struct stat held;
  struct stat named;
  lock_try outcome = lock_try::taken;
  if (fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
    outcome = lock_try::not_a_file;
  } else if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    code = errno;
    outcome = code == EWOULDBLOCK || code == EINTR ? lock_try::busy
              : is_unsupported(code)              ? lock_try::unsupported
                                                  : lock_try::failed;
  } else if (stat(native.c_str(), &named) != 0 || !is_same_file(held, named)) {
    outcome = lock_try::busy;
  }
  if (outcome != lock_try::taken) {
    close(fd);
    return outcome;
  }
  lock.native_ = fd;
  lock.file_ = lock_file;
  return outcome;
}

void run_lock::release() {
  if (native_ == none) return;
  // Removed while still held, so that no taker locks it after it is gone.
  std::string native;
  if (to_posix_path(file_, native)) unlink(native.c_str());
  close(static_cast<int>(native_));
  native_ = none;
  file_.clear();
}

}  // namespace addfolder
