// The lines that the scans write to the error stream, in its code page.
#pragma once

#include <string>

#include "scan/path.h"
#include "scan/system_error.h"

namespace addfolder {

// Appends "Error While Accessing : " + path + " :: " + the system message for
// code + a line end. When the path has no narrow form, the exception line of
// that conversion follows the prefix instead; no character is ever replaced.
void append_access_error_line(std::string& lines, wide_view path, int code);

// Appends the line for an entry whose name holds "\", which a Windows project
// cannot name: Skipped "NAME" in DIRECTORY: ... and a line end.
void append_backslash_name_line(std::string& lines, wide_view directory, wide_view name);

// Appends "Exception :: " + the error's description + a line end.
void append_exception_line(std::string& lines, const system_error& error);

}  // namespace addfolder
