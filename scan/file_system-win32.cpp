#include <windows.h>

#include <memory>

#include "file_system.h"
#include "win32_path.h"

namespace addfolder {
namespace {

struct handle_closer {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using unique_handle = std::unique_ptr<void, handle_closer>;

struct find_closer {
  void operator()(HANDLE handle) const { FindClose(handle); }
};
using unique_find = std::unique_ptr<void, find_closer>;

// Opens an object for reading its attributes only; directories need backup semantics.
unique_handle open_for_attributes(const wide_path& path, DWORD& error) {
  const std::wstring native = to_win32_verbatim_path(path);
  HANDLE handle = CreateFileW(native.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error = GetLastError();
    return unique_handle();
  }
  error = 0;
  return unique_handle(handle);
}

file_kind kind_of(DWORD attributes) {
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? file_kind::directory : file_kind::regular;
}

// Symbolic links and junctions. Windows gives every reparse point a tag; Wine
// reports its host's symbolic links as reparse points without one.
bool is_link_tag(DWORD tag) { return tag == IO_REPARSE_TAG_SYMLINK || tag == IO_REPARSE_TAG_MOUNT_POINT || tag == 0; }

// The final path without "\\?\" (and "\\?\UNC\" back to "\\").
wide_path without_long_path_prefix(std::wstring_view path) {
  if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return u"\\\\" + from_win32_text(path.substr(8));
  if (path.rfind(L"\\\\?\\", 0) == 0) return from_win32_text(path.substr(4));
  return from_win32_text(path);
}

}  // namespace

const char16_t host_separator = u'\\';

bool is_not_found_error(int error) {
  // A server or share that does not exist is as missing as a folder.
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
         error == ERROR_BAD_NETPATH || error == ERROR_BAD_NET_NAME;
}

int query_status(const wide_path& path, file_kind& kind) {
  const std::wstring native = to_win32_verbatim_path(path);
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(native.c_str(), GetFileExInfoStandard, &data)) {
    const int error = static_cast<int>(GetLastError());
    if (!is_not_found_error(error)) return error;
    kind = file_kind::not_found;
    return 0;
  }
  if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    kind = kind_of(data.dwFileAttributes);
    return 0;
  }
  // A reparse point: ask the object that it leads to.
  DWORD error = 0;
  unique_handle handle = open_for_attributes(path, error);
  if (!handle) {
    if (!is_not_found_error(static_cast<int>(error))) return static_cast<int>(error);
    kind = file_kind::not_found;
    return 0;
  }
  BY_HANDLE_FILE_INFORMATION information;
  if (!GetFileInformationByHandle(handle.get(), &information)) return static_cast<int>(GetLastError());
  kind = kind_of(information.dwFileAttributes);
  return 0;
}

int query_final_path(const wide_path& path, wide_path& final_path) {
  if (path.empty()) return ERROR_PATH_NOT_FOUND;
  DWORD error = 0;
  unique_handle handle = open_for_attributes(path, error);
  if (!handle) return static_cast<int>(error);
  std::wstring buffer(MAX_PATH, L'\0');
  while (true) {
    const DWORD length = GetFinalPathNameByHandleW(handle.get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return static_cast<int>(GetLastError());
    if (length < buffer.size()) {
      buffer.resize(length);
      break;
    }
    buffer.resize(length);
  }
  final_path = without_long_path_prefix(buffer);
  return 0;
}

int query_current_directory(wide_path& directory) {
  std::wstring buffer(MAX_PATH, L'\0');
  while (true) {
    const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0) return static_cast<int>(GetLastError());
    if (length < buffer.size()) {
      buffer.resize(length);
      break;
    }
    buffer.resize(length);
  }
  directory = from_win32_text(buffer);
  return 0;
}

int list_directory(const wide_path& directory, directory_listing& listing) {
  listing.entries.clear();
  listing.names.clear();
  wide_path pattern = directory;
  append_element(pattern, u"*");
  const std::wstring native = to_win32_verbatim_path(pattern);
  WIN32_FIND_DATAW data;
  unique_find search(FindFirstFileExW(native.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                      FIND_FIRST_EX_LARGE_FETCH));
  if (search.get() == INVALID_HANDLE_VALUE) {
    search.release();
    return static_cast<int>(GetLastError());
  }
  do {
    const std::wstring_view name(data.cFileName);
    if (name == L"." || name == L"..") continue;
    directory_entry entry;
    entry.name_start = static_cast<std::uint32_t>(listing.names.size());
    entry.name_length = static_cast<std::uint32_t>(name.size());
    listing.names.append(reinterpret_cast<const char16_t*>(name.data()), name.size());
    const bool reparse = data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
    entry.is_link = reparse && is_link_tag(data.dwReserved0);
    entry.is_directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !entry.is_link;
    entry.is_regular = !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !reparse;
    listing.entries.push_back(entry);
  } while (FindNextFileW(search.get(), &data));
  const DWORD error = GetLastError();
  return error == ERROR_NO_MORE_FILES ? 0 : static_cast<int>(error);
}

// FindFirstFileExW takes a path and nothing relative to a handle, so every
// folder is listed by its path.
int list_subdirectory(const wide_path& directory, const open_folder*, wide_view, directory_listing& listing,
                      std::shared_ptr<open_folder>*) {
  return list_directory(directory, listing);
}

}  // namespace addfolder
