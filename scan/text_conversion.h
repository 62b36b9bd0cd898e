// The one place where text changes encoding or letter case.
//
// Document texts and file names on POSIX are UTF-8 ("narrow text"); paths in
// the core are UTF-16 ("wide paths"). The error stream takes UTF-8, except for
// a Windows console, which takes its own code page. Every conversion is
// strict: nothing is ever replaced or dropped, and a text that cannot be
// converted raises system_error, unless a function says that it shows the
// text to a person.
//
// UTF-8 and UTF-16 are converted in text_conversion.cpp, the other encodings
// of files in text_encodings.cpp, letter case in text_case.cpp.
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

// True when text is valid UTF-8 throughout.
bool is_utf8(std::string_view text);

// The text in the encoding of the error stream, converted strictly.
std::string to_error_text(wide_view text);

// The platform's error code for a character that has no narrow form.
int unconvertible_character_error();

// The character at index and its length in units (1 or 2); a lone surrogate
// is a character of its own.
char32_t character_at(wide_view text, std::size_t index, std::size_t& length);

// Appends a character in UTF-16.
void append_character(wide_path& text, char32_t c);

// --- Texts shown to a person, which must reach them whatever they hold.

// UTF-8, with U+FFFD for a lone surrogate, which no file name on a POSIX host can hold.
std::string to_shown_utf8(wide_view text);

// UTF-8 bytes as UTF-16; bytes that are not UTF-8 each as the Latin-1
// character of its value, so that a message can still name them.
wide_text shown_wide(std::string_view bytes);

// Bytes that a person typed, on the command line or into a pipe: UTF-8 where
// they are; otherwise in the ANSI code page on Windows, and on POSIX as
// shown_wide gives them.
wide_text from_typed_text(std::string_view bytes);

// --- The encodings of files.

// Appends UTF-16 bytes of the given byte order; false (text unchanged) on an
// odd length or a lone surrogate.
bool append_utf16_bytes(wide_path& text, std::string_view bytes, bool big_endian);

// The text of a file that is UTF-8, with or without a byte order mark, or
// UTF-16 of either byte order behind its mark; false when it is neither.
bool decode_marked_text(std::string_view bytes, wide_path& text);

// Appends the UTF-8 form of windows-1252 bytes: Latin-1, except for the
// characters that it puts at 0x80-0x9F. False (text unchanged) at one of the
// five bytes that it leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D).
bool append_windows_1252(std::string& text, std::string_view bytes);

// --- Letter case.

// ASCII letters in lower case; every other character as it is.
constexpr char32_t ascii_lower(char32_t c) { return c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c; }

// ASCII letters in upper case; every other character as it is.
constexpr char32_t ascii_upper(char32_t c) { return c >= U'a' && c <= U'z' ? c - (U'a' - U'A') : c; }

// The upper case of a unit of 0x80 or above, as ntfs_upper gives it.
char16_t ntfs_upper_beyond_ascii(char16_t unit);

// The unit upper-cased as NTFS does when it orders and compares names: by the
// simple Unicode mapping, unit by unit, where the upper case is one unit too.
inline char16_t ntfs_upper(char16_t unit) {
  return unit < 0x80 ? static_cast<char16_t>(ascii_upper(unit)) : ntfs_upper_beyond_ascii(unit);
}

// True when NTFS takes the two names for one: equal once every unit is upper-cased.
bool same_ntfs_name(wide_view left, wide_view right);

}  // namespace addfolder
