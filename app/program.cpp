#include "program.h"

#include "change_report.h"
#include "command_line.h"
#include "exclusion_input.h"
#include "exit_codes.h"
#include "file_names.h"
#include "folder_choice.h"
#include "folder_lister.h"
#include "messages.h"
#include "program_version.h"
#include "run_sequence.h"

namespace addfolder {
namespace {

std::vector<wide_text> usage_lines() { return std::vector<wide_text>(std::begin(usage), std::end(usage)); }

// The folder that --folder names, or the one the user is asked for.
folder_answer folder_to_add(const command_line& line, const front_end& ui) {
  if (!line.folder) return ui.ask_for_folder(line.arguments.project_directory);
  if (std::optional<wide_path> folder = typed_folder(*line.folder)) return folder_answer{folder, {}};
  return folder_answer{std::nullopt, failure(exit_command_line_error, wide_text(not_a_folder) + *line.folder)};
}

// Shows a failed outcome's message; returns its exit code.
int finish(const run_outcome& outcome, const front_end& ui) {
  if (outcome.failed()) ui.show_error(outcome.message, outcome.reason);
  return outcome.exit_code;
}

void show_outcome(const command_line& line, const run_outcome& outcome, const front_end& ui) {
  if (outcome.prune_skipped) ui.show_note(prune_skipped);
  const wide_text project_file = line.arguments.project_name + u".ewp";
  const wide_text connection_file = line.arguments.project_name + u".ipcf";
  if (line.dry_run || line.check) {
    std::vector<wide_text> report = change_report_lines(outcome.changes, project_file, connection_file);
    // What could not be read may hold changes too, so such a check never says "in sync".
    if (outcome.walk_incomplete) {
      report.emplace_back(check_incomplete);
    } else if (report.empty()) {
      report.emplace_back(in_sync);
    }
    ui.show_lines(report);
  } else if (!line.quiet) {
    ui.show_summary(change_summary_line(outcome.changes.counts, project_file, connection_file));
  }
}

}  // namespace

int run_program(const std::vector<wide_text>& argument_list, const front_end& ui) {
  command_line line;
  if (const run_outcome parsed = parse_command_line(argument_list, line); parsed.failed()) return finish(parsed, ui);
  if (line.request == command_request::help) {
    ui.show_lines(usage_lines());
    return exit_success;
  }
  if (line.request == command_request::version) {
    ui.show_lines({version_text()});
    return exit_success;
  }

  run_settings settings;
  if (const run_outcome read = read_exclusions(line, settings.exclusions); read.failed()) return finish(read, ui);
  settings.prune = line.prune;
  settings.groups = line.groups.value_or(group_layout::flat);
  for (const base_definition& base : line.bases) {
    std::optional<wide_path> directory = typed_folder(base.directory);
    if (!directory) return finish(failure(exit_command_line_error, wide_text(not_a_folder) + base.directory), ui);
    settings.bases.push_back({base.name, std::move(*directory)});
  }
  settings.dry_run = line.dry_run || line.check;
  settings.check = line.check;

  const folder_answer answer = folder_to_add(line, ui);
  if (!answer.folder) return finish(answer.outcome, ui);

  line.arguments.project_name = project_name_of(line.arguments);
  std::unique_ptr<run_observer> observer = ui.watch_run ? ui.watch_run(line.quiet) : nullptr;
  settings.observer = observer.get();
  settings.jobs = line.jobs != 0 ? line.jobs : default_walk_jobs();
  scan_problem_list problems;
  const run_outcome outcome = run_sequence(line.arguments, *answer.folder, settings, problems);
  // The progress goes before any line or message.
  observer.reset();
  if (outcome.stopped) return outcome.exit_code;
  if (!problems.empty()) ui.show_problems(problems);
  if (outcome.failed()) return finish(outcome, ui);
  show_outcome(line, outcome, ui);
  return outcome.exit_code;
}

}  // namespace addfolder
