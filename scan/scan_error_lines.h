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

// Appends "Exception :: " + the error's description + a line end.
void append_exception_line(std::string& lines, const system_error& error);

}  // namespace addfolder
