#include <windows.h>

#include "win32_path.h"

namespace addfolder {
namespace {

// Directories must leave room for an 8.3 name below MAX_PATH.
constexpr size_t classic_path_limit = MAX_PATH - 12;

std::wstring full_path(const std::wstring& path) {
  std::wstring buffer(MAX_PATH, L'\0');
  while (true) {
    const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length == 0) return path;
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(length);
  }
}

}  // namespace

std::wstring to_win32_text(wide_text_view text) { return std::wstring(text.begin(), text.end()); }

wide_text from_win32_text(std::wstring_view text) { return wide_path(text.begin(), text.end()); }

std::wstring to_win32_path(wide_view path) {
  std::wstring native = to_win32_text(path);
  if (native.size() < classic_path_limit) return native;
  if (native.rfind(L"\\\\?\\", 0) == 0) return native;
  for (wchar_t& c : native) {
    if (c == L'/') c = L'\\';
  }
  const std::wstring absolute = full_path(native);
  if (absolute.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + absolute.substr(2);
  return L"\\\\?\\" + absolute;
}

}  // namespace addfolder
