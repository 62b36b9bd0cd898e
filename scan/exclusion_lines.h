// The text of an exclusion file: one pattern a line.
//
// The bytes are UTF-8, with or without a byte order mark, or UTF-16 of either
// byte order behind its byte order mark (what Windows PowerShell writes). Lines
// end with LF or CRLF. Trailing blanks (spaces, tabs, carriage returns) are
// dropped, since no Windows name ends with one and they cannot be seen in an
// editor; leading blanks are kept. Lines left empty and lines whose first
// character is "#" are skipped.
#pragma once

#include <string_view>
#include <vector>

#include "path.h"

namespace addfolder {

// Appends the patterns that the file's bytes hold; returns false, leaving patterns
// unchanged, when the bytes are no such text (an invalid sequence, or a NUL character).
bool parse_exclusion_lines(std::string_view bytes, std::vector<wide_path>& patterns);

}  // namespace addfolder
