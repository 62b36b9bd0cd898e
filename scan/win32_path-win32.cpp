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
  if (path.size() < classic_path_limit) return to_win32_text(path);
  return to_win32_verbatim_path(path);
}

std::wstring to_win32_verbatim_path(wide_view path) {
  if (path.starts_with(u"\\\\?\\") || path.starts_with(u"\\\\.\\")) return to_win32_text(path);
  wide_path absolute;
  if (root_name(path).empty() && root_directory(path).empty()) {
    // Relative to the working directory: joined by names, which the API would trim.
    absolute = from_win32_text(full_path(L"."));
    append_element(absolute, path);
  } else if (is_absolute(path)) {
    absolute = path;
  } else {
    // "C:name" or "\name": only the platform knows that drive's directory.
    absolute = from_win32_text(full_path(to_win32_text(path)));
  }
  absolute = lexically_normal(absolute);
  if (!rootless_form(absolute).empty() && absolute.back() == u'\\') absolute.pop_back();
  if (absolute.starts_with(u"\\\\")) return L"\\\\?\\UNC\\" + to_win32_text(wide_view(absolute).substr(2));
  return L"\\\\?\\" + to_win32_text(absolute);
}

}  // namespace addfolder
