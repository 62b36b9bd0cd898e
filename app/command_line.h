// The two arguments that the IDE's Tools menu passes.
#pragma once

#include <vector>

#include "scan/path.h"

namespace addfolder {

// The project directory and the project name, as typed.
struct command_arguments {
  wide_path project_directory;
  wide_path project_name;
};

// Takes elements 1 and 2 of the argument list (element 0 is the program) and
// ignores the rest; false when there are fewer than two arguments.
bool read_arguments(const std::vector<wide_path>& argument_list, command_arguments& arguments);

// Splits the process command line by the platform's rules (Windows only);
// false when the platform cannot split it.
bool split_process_command_line(std::vector<wide_path>& argument_list);

}  // namespace addfolder
