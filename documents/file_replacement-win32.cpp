#include <windows.h>

#include "beside_names.h"
#include "file_replacement.h"
#include "file_system.h"
#include "file_target.h"
#include "win32_handle.h"
#include "win32_path.h"

namespace addfolder {
namespace {

document_error failed(const wide_path& file, DWORD code = GetLastError()) {
  return make_document_error(document_failure::system_call, file, static_cast<int>(code));
}

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// What keeps the final target from being replaced: missing (a not-found
// code), a folder, read-only.
document_error check_replaceable(const wide_path& file, const wide_path& target) {
  const DWORD attributes = GetFileAttributesW(to_win32_path(target).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return failed(file);
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return make_document_error(document_failure::not_a_file, file);
  if (attributes & FILE_ATTRIBUTE_READONLY) return make_document_error(document_failure::read_only, file);
  return {};
}

// Creates a new hidden file beside target; its permissions are the folder's defaults.
unique_handle create_temporary(const wide_path& target, std::wstring& temporary) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = to_win32_path(beside_name(target, beside_kind::temporary));
    unique_handle handle =
        adopt(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr));
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
    while (size > 0 && error == 0) {
      const DWORD chunk = static_cast<DWORD>(size < largest_transfer ? size : largest_transfer);
      DWORD written = 0;
      if (!WriteFile(handle, bytes, chunk, &written, nullptr) || written == 0) {
        error = GetLastError();
        if (error == 0) error = ERROR_WRITE_FAULT;
        break;
      }
      bytes += written;
      size -= written;
    }
  }
  HANDLE handle;
  DWORD error = 0;
};

// Writes the content into the new file, makes sure the disk has it, and
// shows the file: it takes the target's place.
DWORD write_new_file(unique_handle output, const std::wstring& path,
                     const std::function<void(pugi::xml_writer&)>& write_content) {
  handle_writer writer(output.get());
  write_content(writer);
  if (writer.error != 0) return writer.error;
  if (!FlushFileBuffers(output.get()) || !CloseHandle(output.release())) return GetLastError();
  return SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL) ? 0 : GetLastError();
}

// Puts replacement in place of target, which keeps its attributes and
// security. The old file goes to a backup name first: without one, a failed
// rename of the replacement could leave no file under the target's name.
DWORD replace_existing(const wide_path& target_path, const std::wstring& replacement) {
  const std::wstring target = to_win32_path(target_path);
  const std::wstring backup = to_win32_path(beside_name(target_path, beside_kind::backup));
  if (ReplaceFileW(target.c_str(), replacement.c_str(), backup.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                   nullptr)) {
    DeleteFileW(backup.c_str());
    return 0;
  }
  const DWORD error = GetLastError();
  // Where the old file was moved away but the new one did not follow, put
  // the old one back; should even that fail, it stays under the backup name.
  if (!exists(target) && exists(backup)) MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
  return error;
}

}  // namespace

const beside_naming host_beside_naming{name_rule::ignoring_case, true};

document_error replace_file(const wide_path& file, const std::function<void(pugi::xml_writer&)>& write_content) {
  wide_path target;
  if (document_error error = final_target(file, target)) return error;
  const document_error replaceable = check_replaceable(file, target);
  const bool existing = !replaceable || !is_not_found_error(replaceable.code);
  if (existing && replaceable) return replaceable;

  temporary_file temporary;
  unique_handle output = create_temporary(target, temporary.path);
  if (!output) {
    temporary.path.clear();
    return failed(file);
  }
  if (const DWORD error = write_new_file(std::move(output), temporary.path, write_content)) return failed(file, error);
  const DWORD error =
      existing ? replace_existing(target, temporary.path)
               : (MoveFileExW(temporary.path.c_str(), to_win32_path(target).c_str(), MOVEFILE_WRITE_THROUGH)
                      ? 0
                      : GetLastError());
  if (error != 0) return failed(file, error);
  temporary.path.clear();
  return {};
}

document_error remove_file(const wide_path& file) {
  wide_path target;
  if (document_error error = final_target(file, target)) return error;
  return DeleteFileW(to_win32_path(target).c_str()) ? document_error{} : failed(file);
}

document_error keep_old_file(const wide_path& file, wide_path& kept) {
  wide_path target;
  if (document_error error = final_target(file, target)) return error;
  // A read-only file is never replaced, and a second name of it could not be removed.
  if (document_error error = check_replaceable(file, target)) return error;
  for (int attempt = 0; attempt < 100; ++attempt) {
    // A second name shares the file's attributes, so it is dot-named but not hidden.
    const wide_path name = beside_name(target, beside_kind::kept);
    if (CreateHardLinkW(to_win32_path(name).c_str(), to_win32_path(target).c_str(), nullptr)) {
      kept = name;
      return {};
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) return failed(file);
  }
  return failed(file, ERROR_ALREADY_EXISTS);
}

document_error put_back_old_file(const wide_path& kept, const wide_path& file) {
  wide_path target;
  if (kept.empty()) return failed(file, ERROR_FILE_NOT_FOUND);
  if (document_error error = final_target(file, target)) return error;
  return MoveFileExW(to_win32_path(kept).c_str(), to_win32_path(target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
             ? document_error{}
             : failed(file);
}

void forget_old_file(const wide_path& kept) {
  if (!kept.empty()) DeleteFileW(to_win32_path(kept).c_str());
}

}  // namespace addfolder
