#include <windows.h>

#include "run_lock.h"
#include "file_system.h"
#include "win32_path.h"

namespace addfolder {
namespace {

// Whether a name is taken, or may be: a file whose deletion is pending
// refuses every query until it is gone.
bool may_exist(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES ||
         !is_not_found_error(static_cast<int>(GetLastError()));
}

}  // namespace

// The lock is a hidden file beside the project file, open without sharing and
// deleted when its handle closes. A second opener, in this process, another
// one, or on another machine of a network share, is refused while it is open.
// The system closes the handle of a process that ends, however it ends, and
// the file goes with it.
lock_outcome acquire_run_lock(const wide_path& project_file, std::chrono::milliseconds patience, run_lock& lock) {
  lock.release();
  // Beside the final target, which runs through any link to the project find alike.
  wide_path target;
  if (query_final_path(project_file, target) != 0) return lock_outcome::failed;
  wide_path lock_file(parent_path(target));
  append_element(lock_file, u"." + wide_path(file_name(target)) + u".lock");
  const std::wstring native = to_win32_path(lock_file);
  HANDLE held = INVALID_HANDLE_VALUE;
  const lock_outcome outcome = wait_for_lock(patience, [&] {
    held = CreateFileW(native.c_str(), GENERIC_READ | DELETE, 0, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (held != INVALID_HANDLE_VALUE) return lock_outcome::acquired;
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return lock_outcome::timed_out;
    // Refused while the lock file of a run that just let go is being deleted;
    // where there is no lock file, the folder refuses a new one for good.
    if (error == ERROR_ACCESS_DENIED) return may_exist(native) ? lock_outcome::timed_out : lock_outcome::failed;
    if (error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_PARAMETER || error == ERROR_INVALID_FUNCTION) {
      return lock_outcome::unsupported;
    }
    return lock_outcome::failed;
  });
  if (outcome == lock_outcome::acquired) lock.native_ = reinterpret_cast<std::intptr_t>(held);
  return outcome;
}

void run_lock::release() {
  if (native_ == none) return;
  CloseHandle(reinterpret_cast<HANDLE>(native_));
  native_ = none;
}

}  // namespace addfolder
