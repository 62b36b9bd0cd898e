// The lines that tell the user of the problems that a scan went past.
#pragma once

#include <string>
#include <vector>

#include "scan_problem.h"
#include "wide_text.h"

namespace addfolder {

// One line for every problem, without line ends: first those that the search
// for source files met, then those of the search for headers.
//   Error While Accessing : PATH :: MESSAGE
//   Exception :: OPERATION: MESSAGE: "PATH"
//   Skipped "NAME" in FOLDER: a name that holds "\" cannot be named in a Windows project
std::vector<wide_text> scan_problem_texts(const scan_problem_list& problems);

// The same lines in the encoding of the error stream, each ended by
// a line end. A path without a narrow form gives, after "Error While
// Accessing : ", the exception line of that conversion; no character is ever
// replaced.
std::string scan_problem_lines(const scan_problem_list& problems);

// Writes those lines to standard error, as the terminal front end does.
void write_scan_problems(const scan_problem_list& problems);

}  // namespace addfolder
