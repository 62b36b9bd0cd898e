#include "project_update.h"

#include <optional>
#include <utility>

#include <pugixml.hpp>

#include "connection_fill.h"
#include "connection_match.h"
#include "connection_prune.h"
#include "failure_message.h"
#include "file_undo.h"
#include "leftover_files.h"
#include "new_connection_file.h"
#include "messages.h"
#include "sync_file_edit.h"
#include "xml_document.h"

namespace addfolder {
namespace {

// A failure of one of the files: the file's message and what failed. A sync
// file that does not take the tables is refused, with its message alone.
struct file_error {
  std::u16string message;
  document_error error;
  bool refused = false;

  bool failed() const { return refused || static_cast<bool>(error); }
};

// A file's message and the reason under it; a lock that another run held
// too long has a message of its own, and a refused table is the user's to mend.
run_outcome file_failure(const file_error& failed) {
  if (failed.refused) return failure(exit_command_line_error, failed.message);
  if (failed.error.failure == document_failure::lock_timed_out) {
    return failure(exit_failure, project_locked_message(failed.error.file));
  }
  return failure(exit_failure, failed.message, document_error_reason(failed.error));
}

// The observer's answers at the safe points of the writes; yes without one.
bool may_begin_writing(const run_settings& settings) {
  return settings.observer == nullptr || settings.observer->begin_writing();
}
bool may_keep_writing(const run_settings& settings) {
  return settings.observer == nullptr || settings.observer->keep_writing();
}

// One attempt: the files as this run read and changed them.
struct attempt {
  run_outcome outcome;
  pugi::xml_document project;
  file_stamp project_stamp;
  bool reference_added = false;
  pugi::xml_document connection;
  file_stamp connection_stamp;
  // A new connection file that is written straight from its entries.
  std::optional<new_connection_file> straight;
  // The sync file's new text, empty where it does not change, and its state
  // as this run read it.
  std::string sync_text;
  file_stamp sync_stamp;
};

// The connection file that this run fills: the file on disk where there is
// one, or one that the project names; a new document otherwise.
file_error open_connection(const project_files& files, attempt& state, connection_sections& sections) {
  if (!state.connection_stamp.exists && state.reference_added) {
    sections = build_connection_document(state.connection);
    return {};
  }
  // The file as read before the lock serves while it is the file there now.
  const bool preloaded =
      files.connection_preload != nullptr && files.connection_preload->take(state.connection, state.connection_stamp);
  if (!preloaded) {
    if (document_error error = load_document(state.connection, files.connection, &state.connection_stamp)) {
      return {std::u16string(connection_file_error), error};
    }
  }
  return {std::u16string(connection_file_error),
          open_connection_document(state.connection, files.connection, sections)};
}

// Reads the sync file and makes its new text: the user's own with each base
// to record in its [base] table, then one table for each folder to record.
file_error add_sync_tables(const project_files& files, const sync_file_addition& save, attempt& state) {
  if (!save.records()) return {};
  std::optional<std::string> text;
  if (document_error error = read_sync_file_text(save.file, text, state.sync_stamp)) {
    return {sync_file_message(save.shown_name, sync_file_unreadable_detail), error};
  }
  std::optional<std::string_view> existing;
  if (text) existing = *text;
  for (const base_definition& base : save.bases) {
    sync_file_error refusal;
    if (!add_sync_base(existing, save.shown_name, files.names.file_name, base, state.sync_text, refusal)) {
      return {sync_file_error_text(refusal), {}, true};
    }
    existing = state.sync_text;
  }
  for (const sync_folder& folder : save.folders) {
    sync_file_error refusal;
    if (!append_sync_folder(existing, save.shown_name, files.names.file_name, folder, state.sync_text, refusal)) {
      return {sync_file_error_text(refusal), {}, true};
    }
    existing = state.sync_text;
  }
  return {};
}

// Reads the files, the project file first, and makes this run's changes to
// them in memory: each plan's additions, then its prune.
file_error read_and_change(const project_files& files, const std::vector<folder_plan>& plans,
                           const run_settings& settings, attempt& state) {
  connection_file_names names = files.names;
  if (document_error error = query_file_stamp(files.connection, names.stamp)) {
    return {std::u16string(connection_file_error), error};
  }
  state.connection_stamp = names.stamp;
  link_result link = link_result::found;
  if (document_error error =
          link_project_file(files.project, names, files.reference, state.project, link, &state.project_stamp)) {
    return {std::u16string(project_file_error), error};
  }
  state.reference_added = link == link_result::added;
  connection_sections sections;
  if (file_error failed = open_connection(files, state, sections); failed.failed()) return failed;
  if (file_error failed = add_sync_tables(files, settings.save, state); failed.failed()) return failed;
  change_log& changes = state.outcome.changes;
  if (state.reference_added) {
    changes.counts.reference_added = true;
    note_change(changes, true, change_place::project, {}, files.reference);
  }
  // A new file for one folder follows from its entries alone, unless a
  // report lists every change.
  if (!state.connection_stamp.exists && plans.size() == 1 && !changes.lists_changes) {
    state.straight = new_connection_file::plan(plans.front().entries);
    if (state.straight) {
      state.straight->count(changes.counts);
      return {};
    }
  }
  // A file that lists exactly what the folders give stays as it is.
  std::vector<planned_entries> planned;
  for (const folder_plan& plan : plans) planned.push_back({&plan.entries, plan.prune ? &plan.folder : nullptr});
  if (holds_exactly(sections, planned)) return {};
  // Each plan sees the document as the plans before it left it, as if each
  // folder had a run of its own.
  for (const folder_plan& plan : plans) {
    fill_result filled = fill_connection_document(sections, plan.entries, changes);
    if (plan.prune) prune_connection_document(sections, plan.entries, plan.folder, filled, changes);
  }
  return {};
}

// Writes the sync file's new text, only while it is the one this run read.
file_error write_sync_file(const sync_file_addition& save, attempt& state, file_undo* undo) {
  const std::string& text = state.sync_text;
  const document_error error = replace_if_unchanged(
      save.file, state.sync_stamp, [&](pugi::xml_writer& writer) { writer.write(text.data(), text.size()); }, undo);
  return {sync_file_message(save.shown_name, sync_file_unwritable_detail), error};
}

// Writes what changed, each file only while it is the one this run read: the
// sync file, then a connection file before the project file that names it,
// so that the project never names one that is not there, even when the run
// is killed in between. What was written is put back when a later file
// cannot be written, or when the observer stops the run between two writes.
// An observer that asks to stop after the last write gets a complete run
// that ends as stopped. A file that this run leaves unchanged keeps its
// bytes, its time and the form another tool gave it.
file_error write_changes(const project_files& files, const run_settings& settings, attempt& state) {
  const bool writes_connection = !state.connection_stamp.exists || changes_connection_file(state.outcome.changes.counts);
  file_undo sync_undo;
  file_undo connection_undo;
  if (!state.sync_text.empty()) {
    const bool more = writes_connection || state.reference_added;
    if (file_error failed = write_sync_file(settings.save, state, more ? &sync_undo : nullptr); failed.failed()) {
      return failed;
    }
    if (more && !may_keep_writing(settings)) {
      state.outcome = stopped_run(settings);
      return {};
    }
  }
  if (writes_connection) {
    file_undo* const undo = state.reference_added ? &connection_undo : nullptr;
    const document_error error =
        state.straight
            ? replace_if_unchanged(files.connection, state.connection_stamp,
                                   [&](pugi::xml_writer& writer) { state.straight->write(writer); }, undo)
            : save_document_if_unchanged(state.connection, files.connection, state.connection_stamp, undo);
    if (error) return {std::u16string(connection_file_error), error};
  }
  if (state.reference_added) {
    // Stopped here, the undos take the new files back as they end.
    if (!may_keep_writing(settings)) {
      state.outcome = stopped_run(settings);
      return {};
    }
    if (document_error error = save_document_if_unchanged(state.project, files.project, state.project_stamp)) {
      return {std::u16string(project_file_error), error};
    }
  }
  sync_undo.commit();
  connection_undo.commit();
  if (!may_keep_writing(settings)) state.outcome = stopped_run(settings);
  return {};
}

// One attempt, from reading the project file to the last write. The observer
// may stop it before anything is written, or in a dry run reported.
file_error write_once(const project_files& files, const std::vector<folder_plan>& plans,
                      const run_settings& settings, run_outcome& outcome) {
  attempt state;
  state.outcome = outcome;
  state.outcome.changes.lists_changes = settings.dry_run;
  if (file_error failed = read_and_change(files, plans, settings, state); failed.failed()) return failed;
  if (settings.check && (state.reference_added || changes_connection_file(state.outcome.changes.counts) ||
                         !state.sync_text.empty())) {
    state.outcome.exit_code = exit_out_of_sync;
  }
  if (!may_begin_writing(settings)) {
    outcome = stopped_run(settings);
    return {};
  }
  if (!settings.dry_run) {
    if (file_error failed = write_changes(files, settings, state); failed.failed()) return failed;
  }
  outcome = std::move(state.outcome);
  return {};
}

}  // namespace

run_outcome stopped_run(const run_settings& settings) {
  run_outcome outcome;
  outcome.stopped = true;
  outcome.exit_code = settings.observer->stopped_exit_code();
  return outcome;
}

run_outcome update_project(const project_files& files, const std::vector<folder_plan>& plans,
                           const run_settings& settings, run_outcome outcome) {
  run_lock lock;
  const auto keep_waiting = [&settings] { return settings.observer == nullptr || settings.observer->keep_waiting(); };
  if (document_error error = acquire_run_lock(files.project, settings.lock_patience, lock, keep_waiting)) {
    if (error.failure == document_failure::lock_wait_stopped) return stopped_run(settings);
    return file_failure({std::u16string(project_file_error), error});
  }
  if (!settings.dry_run) {
    // Under the lock no other run is saving, so these are left from runs that died.
    remove_leftover_files(files.project);
    remove_leftover_files(files.connection);
    if (settings.save.records()) remove_leftover_files(settings.save.file);
  }
  // Another program may save a file meanwhile: its change is kept, and the
  // run starts again from reading, a few times at most.
  constexpr int most_attempts = 4;
  file_error failed;
  for (int attempt = 0; attempt < most_attempts; ++attempt) {
    failed = write_once(files, plans, settings, outcome);
    if (!failed.failed()) return outcome;
    if (failed.error.failure != document_failure::changed) break;
  }
  return file_failure(failed);
}

}  // namespace addfolder
