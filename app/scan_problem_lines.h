// The lines on standard error for the problems that a scan went past.
#pragma once

#include <string>

#include "scan_problem.h"

namespace addfolder {

// The lines of every problem, in the encoding of the error stream:
// first those that the search for source files met, then those of the
// search for headers, each ended by a line end.
//   Error While Accessing : PATH :: MESSAGE
//   Exception :: OPERATION: MESSAGE: "PATH"
//   Skipped "NAME" in FOLDER: a name that holds "\" cannot be named in a Windows project
// A path without a narrow form gives, after "Error While Accessing : ", the
// exception line of that conversion; no character is ever replaced.
std::string scan_problem_lines(const scan_problem_list& problems);

// Writes those lines to standard error, as every front end does.
void write_scan_problems(const scan_problem_list& problems);

}  // namespace addfolder
