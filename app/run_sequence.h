// The order of one run, from the folders to the exit code.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "argument_variable.h"
#include "command_line.h"
#include "connection_document.h"
#include "exclusion_rules.h"
#include "run_lock.h"
#include "run_observer.h"
#include "run_outcome.h"
#include "scan_problem.h"
#include "sync_file.h"

namespace addfolder {

// One folder of a run, with what the user asked of it.
struct folder_settings {
  // The folder, as the file system finds it from the working directory.
  wide_path path;
  // What the walk leaves out.
  exclusion_rules exclusions;
  // Also remove, within the folder, what it no longer provides.
  bool prune = false;
  // How the folder's files are grouped.
  group_layout groups = group_layout::flat;
  // Take out of the connection file whatever lies within the folder, by the
  // rule of the prune, without a walk: the folder need not exist.
  bool remove = false;
};

// The [[folder]] tables and the bases that a run records in the sync file.
struct sync_file_addition {
  // The sync file by its full path, and as messages name it.
  wide_path file;
  wide_text shown_name;
  // The tables, in order; none when the run records nothing.
  std::vector<sync_folder> folders;
  // The bases that the file lacks, DIR as the file is to name it, in order.
  std::vector<base_definition> bases;

  // Whether the run records anything.
  bool records() const { return !folders.empty() || !bases.empty(); }
};

// What the user asked of a run beyond its folders.
struct run_settings {
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
  // What the run appends to the sync file, after the project's lock is taken.
  sync_file_addition save;
};

// Walks every folder in turn, then, holding the project's lock, reads the
// project file and the connection file once, makes each folder's changes in
// the folders' order (its additions, then its prune within itself), appends
// the tables to the sync file, and writes each file that changed once: the
// sync file, then a new or changed connection file, then the project file
// that names it. Every relative form leads from the project directory,
// argument 1 made absolute against the working directory. Where another
// program changed a file after this run read it, the run starts again from
// reading. Problems that the walks went past are appended to scan_problems,
// also when the run fails later; a failure that ends the run comes back as
// its message and reason.
run_outcome run_sequence(const command_arguments& arguments, const std::vector<folder_settings>& folders,
                         const run_settings& settings, scan_problem_list& scan_problems);

}  // namespace addfolder
