// Wide paths handed to the Win32 API.
#pragma once

#include <string>

#include "path.h"

namespace addfolder {

// The path as the Win32 API takes it. A path too long for the classic API is
// made absolute and given the long-path prefix, so no length limit applies.
std::wstring to_win32_path(wide_view path);

// The path in the form that the Win32 API takes verbatim: absolute, with the
// long-path prefix ("\\?\" or "\\?\UNC\"), "." and ".." resolved by
// names. The API then trims no name, so a name that ends in a dot or a blank,
// or one such as "aux.c", is reached as the walk listed it; and no length
// limit applies.
std::wstring to_win32_verbatim_path(wide_view path);

// A wide text as a Win32 string (both are UTF-16).
std::wstring to_win32_text(wide_text_view text);

// A Win32 string as a wide text.
wide_text from_win32_text(std::wstring_view text);

}  // namespace addfolder
