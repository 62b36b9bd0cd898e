#include <windows.h>

#include "file_bytes.h"
#include "file_reading.h"
#include "win32_handle.h"
#include "win32_path.h"

namespace addfolder {

document_error read_whole_file(const wide_path& file, file_bytes& bytes, file_stamp* stamp, size_t most_bytes) {
  bytes = file_bytes{};
  if (file.empty()) return make_document_error(document_failure::system_call, file, ERROR_FILE_NOT_FOUND);
  unique_handle input = adopt(CreateFileW(to_win32_path(file).c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  const auto failed = [&] {
    return make_document_error(document_failure::system_call, file, static_cast<int>(GetLastError()));
  };
  if (!input) return failed();
  if (GetFileType(input.get()) != FILE_TYPE_DISK) return make_document_error(document_failure::not_a_file, file);
  LARGE_INTEGER size;
  if (!GetFileSizeEx(input.get(), &size)) return failed();
  if (stamp != nullptr) {
    if (const int code = stamp_of_open_file(reinterpret_cast<std::intptr_t>(input.get()), *stamp); code != 0) {
      return make_document_error(document_failure::system_call, file, code);
    }
  }
  return read_until_end(file, bytes, static_cast<size_t>(size.QuadPart), most_bytes,
                        [&](char* buffer, size_t room, int& error) -> long long {
                          DWORD count = 0;
                          const DWORD chunk = static_cast<DWORD>(room < largest_transfer ? room : largest_transfer);
                          if (ReadFile(input.get(), buffer, chunk, &count, nullptr)) return count;
                          error = static_cast<int>(GetLastError());
                          return -1;
                        });
}

}  // namespace addfolder
