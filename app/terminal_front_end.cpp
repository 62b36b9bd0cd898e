#include "terminal_front_end.h"

#include "folder_choice.h"
#include "messages.h"
#include "program.h"
#include "scan_problem_lines.h"
#include "terminal_io.h"
#include "terminal_progress.h"

namespace addfolder {
namespace {

void show_error(wide_text_view message, wide_text_view reason) {
  wide_text line(error_line_prefix);
  line += message;
  write_error_line(line);
  if (!reason.empty()) write_error_line(reason);
}

void show_lines(const std::vector<wide_text>& lines) {
  for (const wide_text& line : lines) write_output(line + u"\n");
}

// Asks until the user names an existing folder; nothing at the end of input.
folder_answer prompt_for_folder(const wide_path& preselected) {
  wide_text prompt(folder_choice_title);
  prompt += wide_text(prompt_default_intro) + preselected + wide_text(prompt_default_end);
  while (true) {
    write_output(prompt);
    wide_text line;
    if (!read_input_line(line)) {
      write_output(u"\n");
      return folder_answer{};
    }
    const wide_path typed = line.empty() ? preselected : line;
    if (std::optional<wide_path> folder = typed_folder(typed)) return folder_answer{folder, {}};
    write_error_line(wide_text(not_a_folder) + typed);
  }
}

}  // namespace

int run_terminal(const std::vector<wide_text>& argument_list) {
  front_end terminal;
  terminal.show_error = show_error;
  terminal.show_lines = show_lines;
  terminal.show_summary = [](wide_text_view line) { write_output(wide_text(line) + u"\n"); };
  terminal.show_note = write_error_line;
  terminal.show_problems = write_scan_problems;
  terminal.ask_for_folder = prompt_for_folder;
  terminal.watch_run = watch_terminal_run;
  return run_program(argument_list, terminal);
}

}  // namespace addfolder
