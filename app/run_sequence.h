// The order of one run, from the chosen folder to the exit code.
#pragma once

#include <string>

#include "app/command_line.h"
#include "app/exit_codes.h"
#include "scan/scan_problem.h"

namespace addfolder {

// How a run ended: its exit code and, when it failed, the message to show.
struct run_outcome {
  int exit_code = exit_success;
  std::u16string message;
};

// Scans the chosen folder, links the project file to the connection file and
// writes what changed. Problems that the scan went past are appended to
// scan_problems, also when the run fails later; a failure that ends the run
// comes back as its message.
run_outcome run_sequence(const command_arguments& arguments, const wide_path& chosen_folder,
                         scan_problem_list& scan_problems);

}  // namespace addfolder
