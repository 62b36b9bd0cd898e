// The order of one run, from the chosen folder to the exit code.
#pragma once

#include <chrono>
#include <string>

#include "argument_variable.h"
#include "command_line.h"
#include "connection_document.h"
#include "exclusion_rules.h"
#include "run_lock.h"
#include "run_observer.h"
#include "run_outcome.h"
#include "scan_problem.h"

namespace addfolder {

// What the user asked of a run beyond the folder.
struct run_settings {
  // What the walk leaves out.
  exclusion_rules exclusions;
  // Also remove what the folder no longer provides.
  bool prune = false;
  // How the folder's files are grouped.
  group_layout groups = group_layout::flat;
  // The folders that texts name by argument variables, each an existing
  // folder, relative to the working directory or absolute.
  std::vector<base_definition> bases;
  // Work out every change and write nothing; with check, end with
  // exit_out_of_sync when there is any.
  bool dry_run = false;
  bool check = false;
  // How long a run waits while another run holds the project's lock.
  std::chrono::milliseconds lock_patience = addfolder::lock_patience;
  // How many threads list folders.
  unsigned jobs = 1;
  // Shown the progress, and asked at each safe point whether to go on; may be null.
  run_observer* observer = nullptr;
};

// Scans the chosen folder, then, holding the project's lock, links the
// project file to the connection file and writes what changed: a new or
// changed connection file before the project file that names it. Every
// relative form leads from the project directory, argument 1 made absolute
// against the working directory. Where another program changed a file after
// this run read it, the run starts again from reading. Problems that the
// scan went past are appended to scan_problems, also when the run fails
// later; a failure that ends the run comes back as its message and reason.
run_outcome run_sequence(const command_arguments& arguments, const wide_path& chosen_folder,
                         const run_settings& settings, scan_problem_list& scan_problems);

}  // namespace addfolder
