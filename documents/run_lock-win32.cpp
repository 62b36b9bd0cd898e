#include <windows.h>

#include "file_system.h"
#include "lock_attempt.h"
#include "win32_path.h"

namespace addfolder {
namespace {

// Whether a name is taken, or may be: a file whose deletion is pending
// refuses every query until it is gone.
bool may_exist(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES ||
         !is_not_found_error(static_cast<int>(GetLastError()));
}

bool is_folder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

// The lock is a hidden file beside the project file, open without sharing and
// deleted when its handle closes. A second opener, in this process, another
// one, or on another machine of a network share, is refused while it is open.
// The system closes the handle of a process that ends, however it ends, and
// the file goes with it.
lock_try try_run_lock(const wide_path& lock_file, run_lock& lock, int& code) {
  const std::wstring native = to_win32_path(lock_file);
  const HANDLE held = CreateFileW(native.c_str(), GENERIC_READ | DELETE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (held != INVALID_HANDLE_VALUE) {
    lock.native_ = reinterpret_cast<std::intptr_t>(held);
    lock.file_ = lock_file;
    return lock_try::taken;
  }
  code = static_cast<int>(GetLastError());
  if (code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION) return lock_try::busy;
  if (code == ERROR_ACCESS_DENIED) {
    // A folder in the lock's place never goes by itself. Otherwise refused
    // while the lock file of a run that just let go is being deleted; where
    // there is no lock file, the folder refuses a new one for good.
    if (is_folder(native)) return lock_try::not_a_file;
    return may_exist(native) ? lock_try::busy : lock_try::failed;
  }
  if (code == ERROR_NOT_SUPPORTED || code == ERROR_INVALID_PARAMETER || code == ERROR_INVALID_FUNCTION) {
    return lock_try::unsupported;
  }
  return lock_try::failed;
}

void run_lock::release() {
  if (native_ == none) return;
  CloseHandle(reinterpret_cast<HANDLE>(native_));
  native_ = none;
  file_.clear();
}

}  // namespace addfolder
