// One run of the program from its argument list, the same for every front
// end: what differs is how each shows texts and asks for the folder.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "path.h"
#include "run_observer.h"
#include "run_outcome.h"
#include "scan_problem.h"

namespace addfolder {

// How the user answered the question for the folder.
struct folder_answer {
  // The chosen folder; nothing when the user cancelled or the choice failed.
  std::optional<wide_path> folder;
  // Why the choice failed, where it did; a cancel is no failure.
  run_outcome outcome;
};

// What a front end does for the program.
struct front_end {
  // Shows a usage error or the message of a failed run, and the line that
  // says why, where there is one.
  std::function<void(wide_text_view message, wide_text_view reason)> show_error;
  // Shows the help, the version, or the report of a dry run or check, one text a line.
  std::function<void(const std::vector<wide_text>& lines)> show_lines;
  // Shows the line that says what a completed run changed.
  std::function<void(wide_text_view line)> show_summary;
  // Shows a note about a run that went on.
  std::function<void(wide_text_view note)> show_note;
  // Shows the problems that the scan went past.
  std::function<void(const scan_problem_list& problems)> show_problems;
  // Asks for the folder to add, with the project directory preselected.
  std::function<folder_answer(const wide_path& project_directory)> ask_for_folder;
  // Watches one run once the folder is known: shows its progress (not when
  // quiet) and stops it when the user asks; whatever it shows is gone when
  // it is destroyed. May be empty.
  std::function<std::unique_ptr<run_observer>(bool quiet)> watch_run;
};

// Runs the program for an argument list (element 0 is the program) and
// returns the exit code.
int run_program(const std::vector<wide_text>& argument_list, const front_end& ui);

}  // namespace addfolder
