#include <windows.h>

#include "file_reading.h"
#include "file_stamp.h"
#include "file_system.h"
#include "win32_handle.h"
#include "win32_path.h"

namespace addfolder {
namespace {

unsigned long long joined(DWORD high, DWORD low) { return (static_cast<unsigned long long>(high) << 32) | low; }

}  // namespace

int stamp_of_open_file(std::intptr_t native, file_stamp& stamp) {
  BY_HANDLE_FILE_INFORMATION information;
  if (!GetFileInformationByHandle(reinterpret_cast<HANDLE>(native), &information)) {
    return static_cast<int>(GetLastError());
  }
  stamp.exists = true;
  stamp.volume = information.dwVolumeSerialNumber;
  stamp.identity = joined(information.nFileIndexHigh, information.nFileIndexLow);
  stamp.size = joined(information.nFileSizeHigh, information.nFileSizeLow);
  const FILETIME& modified = information.ftLastWriteTime;
  stamp.modified = static_cast<long long>(joined(modified.dwHighDateTime, modified.dwLowDateTime));
  return 0;
}

document_error query_file_stamp(const wide_path& file, file_stamp& stamp) {
  // Backup semantics open a folder too, whose stamp tells a folder put in a file's place.
  unique_handle handle = adopt(CreateFileW(to_win32_path(file).c_str(), FILE_READ_ATTRIBUTES,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  int code = 0;
  if (!handle) {
    code = static_cast<int>(GetLastError());
    if (is_not_found_error(code)) {
      stamp = file_stamp{};
      return {};
    }
  } else {
    code = stamp_of_open_file(reinterpret_cast<std::intptr_t>(handle.get()), stamp);
  }
  return code == 0 ? document_error{} : make_document_error(document_failure::system_call, file, code);
}

}  // namespace addfolder
