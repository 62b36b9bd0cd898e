#include "program.h"

#include "change_report.h"
#include "command_line.h"
#include "exclusion_input.h"
#include "exit_codes.h"
#include "folder_choice.h"
#include "folder_lister.h"
#include "messages.h"
#include "program_version.h"
#include "run_sequence.h"
#include "scan_problem_lines.h"

namespace addfolder {
namespace {

std::vector<wide_text> usage_lines() { return std::vector<wide_text>(std::begin(usage), std::end(usage)); }

// The folder that --folder names, or the one the user is asked for.
folder_answer folder_to_add(const command_line& line, const front_end& ui, wide_text& error) {
  if (!line.folder) return ui.ask_for_folder(line.arguments.project_directory);
  if (std::optional<wide_path> folder = typed_folder(*line.folder)) return folder_answer{folder, exit_success};
  error = wide_text(not_a_folder) + *line.folder;
  return folder_answer{std::nullopt, exit_command_line_error};
}

void show_outcome(const command_line& line, const run_outcome& outcome, const front_end& ui) {
  if (outcome.prune_skipped) ui.show_note(prune_skipped);
  const wide_text project_file = line.arguments.project_name + u".ewp";
  const wide_text connection_file = line.arguments.project_name + u".ipcf";
  if (line.dry_run || line.check) {
    std::vector<wide_text> report = change_report_lines(outcome.changes, project_file, connection_file);
    if (report.empty()) report.emplace_back(in_sync);
    ui.show_lines(report);
  } else if (!line.quiet) {
    ui.show_summary(change_summary_line(outcome.changes.counts, project_file, connection_file));
  }
}

}  // namespace

int run_program(const std::vector<wide_text>& argument_list, const front_end& ui) {
  command_line line;
  wide_text error;
  if (!parse_command_line(argument_list, line, error)) {
    ui.show_error(error);
    return exit_command_line_error;
  }
  if (line.request == command_request::help) {
    ui.show_lines(usage_lines());
    return exit_success;
  }
  if (line.request == command_request::version) {
    ui.show_lines({version_text()});
    return exit_success;
  }

  run_settings settings;
  if (!read_exclusions(line, settings.exclusions, error)) {
    ui.show_error(error);
    return exit_command_line_error;
  }
  settings.prune = line.prune;
  settings.dry_run = line.dry_run || line.check;
  settings.check = line.check;

  const folder_answer answer = folder_to_add(line, ui, error);
  if (!error.empty()) ui.show_error(error);
  if (!answer.folder) return answer.exit_code;

  std::unique_ptr<run_observer> observer = ui.watch_run ? ui.watch_run(line.quiet) : nullptr;
  settings.observer = observer.get();
  settings.jobs = line.jobs != 0 ? line.jobs : default_walk_jobs();
  scan_problem_list problems;
  const run_outcome outcome = run_sequence(line.arguments, *answer.folder, settings, problems);
  // The progress goes before any line or message.
  observer.reset();
  if (outcome.stopped) return outcome.exit_code;
  write_scan_problems(problems);
  if (!outcome.message.empty()) {
    ui.show_error(outcome.message);
    return outcome.exit_code;
  }
  show_outcome(line, outcome, ui);
  return outcome.exit_code;
}

}  // namespace addfolder
