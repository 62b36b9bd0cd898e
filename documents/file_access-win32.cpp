#include <windows.h>

#include <memory>

#include "file_access.h"
#include "file_system.h"
#include "win32_path.h"

namespace addfolder {
namespace {

// ReadFile and WriteFile take at most this much at once.
constexpr size_t largest_transfer = 1u << 30;

struct handle_closer {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using unique_handle = std::unique_ptr<void, handle_closer>;

unique_handle adopt(HANDLE handle) { return unique_handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle); }

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Whether a name is in its folder, a link counted whether or not it leads
// anywhere. Wine shows its host's links to files as plain files here.
bool name_exists(const std::wstring& path, DWORD& error) {
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW(path.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) {
    error = GetLastError();
    return false;
  }
  FindClose(find);
  error = 0;
  return true;
}

// A name beside target that no file has yet, long enough to need the
// long-path form where the target's name did not.
std::wstring name_beside(const wide_path& target, const char* extension) {
  const std::string suffix = unique_name_suffix(extension);
  return to_win32_path(target + wide_path(suffix.begin(), suffix.end()));
}

// Creates a new file beside target; its permissions are the folder's defaults.
unique_handle create_temporary(const wide_path& target, std::wstring& temporary) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = name_beside(target, temporary_extension);
    unique_handle handle =
        adopt(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (handle || GetLastError() != ERROR_FILE_EXISTS) return handle;
  }
  return nullptr;
}

// Removes the temporary file unless the replacement went through.
struct temporary_file {
  std::wstring path;
  ~temporary_file() {
    if (!path.empty()) DeleteFileW(path.c_str());
  }
};

struct handle_writer : pugi::xml_writer {
  explicit handle_writer(HANDLE handle) : handle(handle) {}
  void write(const void* data, size_t size) override {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0 && !failed) {
      const DWORD chunk = static_cast<DWORD>(size < largest_transfer ? size : largest_transfer);
      DWORD written = 0;
      if (!WriteFile(handle, bytes, chunk, &written, nullptr) || written == 0) {
        failed = true;
        break;
      }
      bytes += written;
      size -= written;
    }
  }
  HANDLE handle;
  bool failed = false;
};

// Puts replacement in place of target, which keeps its attributes and
// security. The old file goes to a backup name first: without one, a failed
// rename of the replacement could leave no file under the target's name.
bool replace_existing(const wide_path& target_path, const std::wstring& replacement) {
  const std::wstring target = to_win32_path(target_path);
  const std::wstring backup = name_beside(target_path, backup_extension);
  if (ReplaceFileW(target.c_str(), replacement.c_str(), backup.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                   nullptr)) {
    DeleteFileW(backup.c_str());
    return true;
  }
  // Where the old file was moved away but the new one did not follow, put
  // the old one back; should even that fail, it stays under the backup name.
  if (!exists(target) && exists(backup)) MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
  return false;
}

unsigned long long joined(DWORD high, DWORD low) { return (static_cast<unsigned long long>(high) << 32) | low; }

// The stamp of an open file; false where the system cannot tell it.
bool stamp_of(HANDLE handle, file_stamp& stamp) {
  BY_HANDLE_FILE_INFORMATION information;
  if (!GetFileInformationByHandle(handle, &information)) return false;
  stamp.exists = true;
  stamp.volume = information.dwVolumeSerialNumber;
  stamp.identity = joined(information.nFileIndexHigh, information.nFileIndexLow);
  stamp.size = joined(information.nFileSizeHigh, information.nFileSizeLow);
  const FILETIME& modified = information.ftLastWriteTime;
  stamp.modified = static_cast<long long>(joined(modified.dwHighDateTime, modified.dwLowDateTime));
  return true;
}

}  // namespace

const beside_naming host_beside_naming = beside_naming::win32;

bool read_whole_file(const wide_path& file, file_bytes& bytes, file_stamp* stamp) {
  bytes = file_bytes{};
  if (file.empty()) return false;
  unique_handle input = adopt(CreateFileW(to_win32_path(file).c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!input) return false;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(input.get(), &size)) return false;
  if (stamp != nullptr && !stamp_of(input.get(), *stamp)) return false;
  return read_until_end(bytes, static_cast<size_t>(size.QuadPart), [&](char* buffer, size_t room) -> long long {
    DWORD count = 0;
    const DWORD chunk = static_cast<DWORD>(room < largest_transfer ? room : largest_transfer);
    if (!ReadFile(input.get(), buffer, chunk, &count, nullptr)) return -1;
    return count;
  });
}

int query_file_stamp(const wide_path& file, file_stamp& stamp) {
  // Backup semantics open a folder too, whose stamp tells a folder put in a file's place.
  unique_handle handle = adopt(CreateFileW(to_win32_path(file).c_str(), FILE_READ_ATTRIBUTES,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) {
    const int error = static_cast<int>(GetLastError());
    if (!is_not_found_error(error)) return error;
    stamp = file_stamp{};
    return 0;
  }
  return stamp_of(handle.get(), stamp) ? 0 : static_cast<int>(GetLastError());
}

bool replace_file(const wide_path& file, const std::function<void(pugi::xml_writer&)>& write_content) {
  if (file.empty()) return false;
  wide_path target = file;
  DWORD error = 0;
  const bool existing = name_exists(to_win32_path(target), error);
  if (!existing && error != ERROR_FILE_NOT_FOUND) return false;
  if (existing) {
    // Write to the file that the name leads to, through every link, even
    // where nothing marks the name as a link. A link that leads nowhere is
    // not replaced by a file.
    if (query_final_path(file, target) != 0) return false;
    const DWORD attributes = GetFileAttributesW(to_win32_path(target).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
      return false;
    }
  }

  temporary_file temporary;
  unique_handle output = create_temporary(target, temporary.path);
  if (!output) {
    temporary.path.clear();
    return false;
  }
  handle_writer writer(output.get());
  write_content(writer);
  if (writer.failed || !FlushFileBuffers(output.get())) return false;
  if (!CloseHandle(output.release())) return false;

  const bool replaced =
      existing ? replace_existing(target, temporary.path)
               : MoveFileExW(temporary.path.c_str(), to_win32_path(target).c_str(), MOVEFILE_WRITE_THROUGH) != 0;
  if (!replaced) return false;
  temporary.path.clear();
  return true;
}

bool remove_file(const wide_path& file) {
  wide_path target;
  if (file.empty() || query_final_path(file, target) != 0) return false;
  return DeleteFileW(to_win32_path(target).c_str()) != 0;
}

bool keep_old_file(const wide_path& file, wide_path& kept) {
  wide_path target;
  if (file.empty() || query_final_path(file, target) != 0) return false;
  const DWORD attributes = GetFileAttributesW(to_win32_path(target).c_str());
  // A read-only file is never replaced, and a second name of it could not be removed.
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) {
    return false;
  }
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::wstring name = name_beside(target, kept_extension);
    if (CreateHardLinkW(name.c_str(), to_win32_path(target).c_str(), nullptr)) {
      kept.assign(name.begin(), name.end());
      return true;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  return false;
}

bool put_back_old_file(const wide_path& kept, const wide_path& file) {
  wide_path target;
  if (kept.empty() || file.empty() || query_final_path(file, target) != 0) return false;
  return MoveFileExW(to_win32_path(kept).c_str(), to_win32_path(target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void forget_old_file(const wide_path& kept) {
  if (!kept.empty()) DeleteFileW(to_win32_path(kept).c_str());
}

}  // namespace addfolder
