// The command line: the two arguments that the IDE's Tools menu passes, and
// the options.
#pragma once

#include <optional>
#include <vector>

#include "argument_variable.h"
#include "connection_document.h"
#include "path.h"
#include "run_outcome.h"

namespace addfolder {

// The project directory and the project name, as typed.
struct command_arguments {
  wide_path project_directory;
  wide_path project_name;
};

// What the command line asks for.
enum class command_request { run, help, version };

// Everything the command line says.
struct command_line {
  command_request request = command_request::run;
  command_arguments arguments;
  // --folder: the folders to add, as typed, in order, instead of asking for one.
  std::vector<wide_path> folders;
  // --sync: every folder that the sync file names, instead of asking for one.
  bool sync = false;
  // --save: record the run's folders in the sync file.
  bool save = false;
  // --remove: the folders to take out of the connection file, as typed, in order.
  std::vector<wide_path> remove_folders;
  // --exclude, each pattern as typed, in order.
  std::vector<wide_text> exclude_patterns;
  // --exclude-from, each file as typed, in order.
  std::vector<wide_path> exclude_files;
  bool prune = false;
  // --groups, when given.
  std::optional<group_layout> groups;
  // --base, each NAME=DIR as typed, in order.
  std::vector<base_definition> bases;
  bool dry_run = false;
  bool check = false;
  bool quiet = false;
  // --jobs: how many threads list folders; 0 for the default.
  unsigned jobs = 0;
};

// Reads the argument list (element 0 is the program): options anywhere, the
// first two other arguments as the project directory and the project name,
// later ones ignored. --help and --version are answered whatever else the
// line holds. A failure with exit_command_line_error and the message for the
// user for an unknown option, an option without its value, a value that
// holds a double quote, a --jobs that is no number from 1 to 64, a --groups
// other than tree or flat, a --base that is no NAME=DIR with a custom
// argument variable or names one twice, options that do not go together
// (--sync with --folder or --save; --save with more than one
// --exclude-from), or fewer than two arguments.
run_outcome parse_command_line(const std::vector<wide_text>& argument_list, command_line& parsed);

// Splits the process command line by the platform's rules (Windows only);
// false when the platform cannot split it.
bool split_process_command_line(std::vector<wide_text>& argument_list);

// Splits a command line as the Windows program's own (Windows only).
bool split_command_line(wide_text_view line, std::vector<wide_text>& argument_list);

}  // namespace addfolder
