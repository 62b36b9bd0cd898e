// The one place where text changes encoding.
//
// Document texts and file names on POSIX are UTF-8 ("narrow text"); paths in
// the core are UTF-16 ("wide paths"). The error stream uses the narrow code
// page of the process. Every conversion is strict: nothing is ever replaced
// or dropped, and a text that cannot be converted raises system_error.
#pragma once

#include <string>
#include <string_view>

#include "path.h"

namespace addfolder {

// Strict UTF-16 to UTF-8; a lone surrogate raises system_error.
std::string to_narrow(wide_view path);

// Strict UTF-8 to UTF-16, the reverse of to_narrow; an invalid sequence raises system_error.
wide_path to_wide(std::string_view text);

// Appends the UTF-8 form of path to text; returns false (text unchanged) on a lone surrogate.
bool append_narrow(std::string& text, wide_view path);

// Appends the UTF-16 form of text to path; returns false (path unchanged) on an invalid sequence.
bool append_wide(wide_path& path, std::string_view text);

// The text in the narrow code page of the error stream, converted strictly.
std::string to_error_text(wide_view text);

// The platform's error code for a character that has no narrow form.
int unconvertible_character_error();

}  // namespace addfolder
