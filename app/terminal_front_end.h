// The terminal program: the same run as the GUI, with a prompt for the folder
// and "Error: TEXT" lines on standard error in place of message boxes.
#pragma once

#include <vector>

#include "path.h"

namespace addfolder {

// Runs the program for an argument list (element 0 is the program) and
// returns the exit code.
int run_terminal(const std::vector<wide_text>& argument_list);

}  // namespace addfolder
