#include <windows.h>

#include "system_error.h"
#include "text_conversion.h"
#include "win32_path.h"

namespace addfolder {
namespace {

// The code page of the error stream, so that all of a report is in one
// encoding: the console's own where it is a console, UTF-8 where it is a pipe
// or a file, which then reads the same as one from a POSIX host.
UINT error_stream_code_page() {
  DWORD mode = 0;
  if (GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode)) return GetConsoleOutputCP();
  return CP_UTF8;
}

}  // namespace

int unconvertible_character_error() { return ERROR_NO_UNICODE_TRANSLATION; }

wide_text from_typed_text(std::string_view bytes) {
  wide_text text;
  if (append_wide(text, bytes) || bytes.empty()) return text;
  const int size = static_cast<int>(bytes.size());
  std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), static_cast<int>(wide.size()));
  return from_win32_text(wide);
}

std::string to_error_text(wide_view text) {
  if (text.empty()) return std::string();
  const UINT code_page = error_stream_code_page();
  if (code_page == CP_UTF8) return to_narrow(text);
  const std::wstring native = to_win32_text(text);
  const int native_length = static_cast<int>(native.size());
  DWORD flags = code_page == 54936 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL used_default = FALSE;
  BOOL* used_default_flag = code_page == 54936 ? nullptr : &used_default;
  int length =
      WideCharToMultiByte(code_page, flags, native.data(), native_length, nullptr, 0, nullptr, used_default_flag);
  if (length == 0 && (GetLastError() == ERROR_INVALID_FLAGS || GetLastError() == ERROR_INVALID_PARAMETER)) {
    // Some code pages reject these options; convert again without them.
    flags = 0;
    used_default_flag = nullptr;
    length = WideCharToMultiByte(code_page, flags, native.data(), native_length, nullptr, 0, nullptr, nullptr);
  }
  if (length == 0) throw system_error(static_cast<int>(GetLastError()));
  if (used_default) throw system_error(ERROR_NO_UNICODE_TRANSLATION);
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(code_page, flags, native.data(), native_length, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

}  // namespace addfolder
