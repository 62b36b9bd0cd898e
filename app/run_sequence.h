// The order of one run, from the chosen folder to the exit code.
#pragma once

#include <chrono>
#include <string>

#include "command_line.h"
#include "exit_codes.h"
#include "change_log.h"
#include "exclusion_rules.h"
#include "run_observer.h"
#include "scan_problem.h"

namespace addfolder {

// What the user asked of a run beyond the folder.
struct run_settings {
  // What the walk leaves out.
  exclusion_rules exclusions;
  // Also remove what the folder no longer provides.
  bool prune = false;
  // Work out every change and write nothing; with check, end with
  // exit_out_of_sync when there is any.
  bool dry_run = false;
  bool check = false;
  // How long a run waits while another run holds the project's lock.
  std::chrono::milliseconds lock_patience{60000};
  // How many threads list folders.
  unsigned jobs = 1;
  // Shown the progress, and asked at each safe point whether to go on; may be null.
  run_observer* observer = nullptr;
};

// How a run ended: its exit code, the message to show when it failed, and
// what it changed (or, in a dry run, would change).
struct run_outcome {
  int exit_code = exit_success;
  std::u16string message;
  change_log changes;
  // Pruning was asked for but left out, since part of the folder could not be read.
  bool prune_skipped = false;
  // The observer stopped the run at a safe point: nothing was written, or
  // what was written has been put back. The exit code is the observer's.
  bool stopped = false;
};

// Scans the chosen folder, then, holding the project's lock, links the
// project file to the connection file and writes what changed: a new
// connection file before the project file that names it. Where another
// program changed a file after this run read it, the run starts again from
// reading. Problems that the scan went past are appended to scan_problems,
// also when the run fails later; a failure that ends the run comes back as
// its message.
run_outcome run_sequence(const command_arguments& arguments, const wide_path& chosen_folder,
                         const run_settings& settings, scan_problem_list& scan_problems);

}  // namespace addfolder
