#include "program.h"

#include "change_report.h"
#include "command_line.h"
#include "exit_codes.h"
#include "file_names.h"
#include "folder_lister.h"
#include "messages.h"
#include "program_version.h"
#include "run_folders.h"
#include "run_sequence.h"

namespace addfolder {
namespace {

std::vector<wide_text> usage_lines() { return std::vector<wide_text>(std::begin(usage), std::end(usage)); }

// Shows a failed outcome's message; returns its exit code.
int finish(const run_outcome& outcome, const front_end& ui) {
  if (outcome.failed()) ui.show_error(outcome.message, outcome.reason);
  return outcome.exit_code;
}

void show_outcome(const command_line& line, const run_request& request, const run_outcome& outcome,
                  const front_end& ui) {
  if (outcome.prune_skipped) ui.show_note(prune_skipped);
  for (const wide_text& note : request.notes) ui.show_note(note);
  const wide_text project_file = line.arguments.project_name + u".ewp";
  const wide_text connection_file = line.arguments.project_name + u".ipcf";
  const sync_file_addition& save = request.save;
  if (line.dry_run || line.check) {
    std::vector<wide_text> report = change_report_lines(outcome.changes, project_file, connection_file);
    for (const base_definition& base : save.bases) {
      report.push_back(saved_table_line(save.shown_name, base_word, base.name + u" = " + base.directory));
    }
    for (const sync_folder& table : save.folders) {
      report.push_back(saved_table_line(save.shown_name, folder_word, table.path));
    }
    // What could not be read may hold changes too, so such a check never says "in sync".
    if (outcome.walk_incomplete) {
      report.emplace_back(check_incomplete);
    } else if (report.empty()) {
      report.emplace_back(in_sync);
    }
    ui.show_lines(report);
  } else if (!line.quiet) {
    wide_text summary = change_summary_line(outcome.changes.counts, project_file, connection_file);
    if (!save.folders.empty()) summary += saved_folders_summary(save.shown_name, save.folders.size());
    ui.show_summary(summary);
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

  line.arguments.project_name = project_name_of(line.arguments);
  run_request request;
  if (const run_outcome made = make_run_request(line, ui.ask_for_folder, request); made.failed() || request.cancelled) {
    return finish(made, ui);
  }
  run_settings settings;
  settings.dry_run = line.dry_run || line.check;
  settings.check = line.check;
  settings.save = request.save;
  settings.bases = request.bases;

  std::unique_ptr<run_observer> observer = ui.watch_run ? ui.watch_run(line.quiet) : nullptr;
  settings.observer = observer.get();
  settings.jobs = line.jobs != 0 ? line.jobs : default_walk_jobs();
  scan_problem_list problems;
  const run_outcome outcome = run_sequence(line.arguments, request.folders, settings, problems);
  // The progress goes before any line or message.
  observer.reset();
  if (outcome.stopped) return outcome.exit_code;
  if (!problems.empty()) ui.show_problems(problems);
  if (outcome.failed()) return finish(outcome, ui);
  show_outcome(line, request, outcome, ui);
  return outcome.exit_code;
}

}  // namespace addfolder
