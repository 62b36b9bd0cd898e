#include "app/terminal_front_end.h"

#include <optional>

#include "app/command_line.h"
#include "app/exit_codes.h"
#include "app/folder_choice.h"
#include "app/messages.h"
#include "app/program_version.h"
#include "app/run_sequence.h"
#include "app/scan_problem_lines.h"
#include "app/terminal_io.h"

namespace addfolder {
namespace {

void show_error(std::u16string_view message) {
  std::u16string line(error_line_prefix);
  line += message;
  write_error_line(line);
}

// Asks until the user names an existing folder; nothing at the end of input.
std::optional<wide_path> prompt_for_folder(const wide_path& preselected) {
  std::u16string prompt(folder_choice_title);
  prompt += u" [" + preselected + u"]: ";
  while (true) {
    write_output(prompt);
    wide_path line;
    if (!read_input_line(line)) {
      write_output(u"\n");
      return std::nullopt;
    }
    const wide_path typed = line.empty() ? preselected : line;
    if (std::optional<wide_path> folder = typed_folder(typed)) return folder;
    write_error_line(std::u16string(not_a_folder) + typed);
  }
}

}  // namespace

int run_terminal(const std::vector<wide_path>& argument_list) {
  if (asks_for_version(argument_list)) {
    write_output(version_text() + u"\n");
    return exit_success;
  }
  command_arguments arguments;
  if (!read_arguments(argument_list, arguments)) {
    show_error(missing_arguments);
    return exit_command_line_error;
  }
  const std::optional<wide_path> folder = prompt_for_folder(arguments.project_directory);
  if (!folder) return exit_success;
  scan_problem_list problems;
  const run_outcome outcome = run_sequence(arguments, *folder, problems);
  write_scan_problems(problems);
  if (!outcome.message.empty()) show_error(outcome.message);
  return outcome.exit_code;
}

}  // namespace addfolder
