// The folders of one run, and what it records, from the command line, the
// project's sync file and the folder that the user chooses.
#pragma once

#include <functional>
#include <vector>

#include "command_line.h"
#include "program.h"
#include "run_outcome.h"
#include "run_sequence.h"
#include "sync_file.h"

namespace addfolder {

// What a run needs to know before it walks.
struct run_request {
  // Every folder of the run in its order: the ones to take out (--remove),
  // then the ones to add (--folder, the chosen one, or the sync file's).
  std::vector<folder_settings> folders;
  // The run's bases, each an existing folder.
  std::vector<base_definition> bases;
  // The tables that --save appends to the sync file.
  sync_file_addition save;
  // What to tell after a completed run: a removed folder that the sync file
  // still names.
  std::vector<wide_text> notes;
  // The user cancelled the question for the folder: nothing is done.
  bool cancelled = false;
};

// Makes the request for a command line whose project name is final. The
// sync file, PROJECT_NAME.addfolder.toml beside the project file, is read
// for --sync, --save and --remove. With --sync each of its folders is walked
// with the file's patterns for every folder, its own, those of its
// exclude_from, then the command line's, and pruned when it says so or with
// --prune; otherwise the folders that --folder names, or the one that ask
// gets, are walked with the command line's patterns (and the sync file's
// for every folder where --save records them). A failure with the message
// for the user: exit_command_line_error for a pattern, a file of patterns or
// a sync file that cannot be used, no sync file with --sync, a folder that
// is not there, and a folder that --save finds in the sync file already;
// what ask reports; exit_failure for a path that cannot be resolved.
run_outcome make_run_request(const command_line& line, const std::function<folder_answer(const wide_path&)>& ask,
                             run_request& request);

}  // namespace addfolder
