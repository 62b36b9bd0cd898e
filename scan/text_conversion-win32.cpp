#include <windows.h>

#include <clocale>

#include "system_error.h"
#include "text_conversion.h"
#include "win32_path.h"

namespace addfolder {
namespace {

// The narrow code page: UTF-8 under a UTF-8 locale, else the code page of the
// file functions (ANSI unless switched to OEM).
UINT error_stream_code_page() {
  if (___lc_codepage_func() == CP_UTF8) return CP_UTF8;
  return AreFileApisANSI() ? CP_ACP : CP_OEMCP;
}

}  // namespace

int unconvertible_character_error() { return ERROR_NO_UNICODE_TRANSLATION; }

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
