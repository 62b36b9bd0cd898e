#include "run_sequence.h"

#include <new>

#include <pugixml.hpp>

#include "failure_message.h"
#include "file_names.h"
#include "messages.h"
#include "connection_document.h"
#include "connection_fill.h"
#include "connection_prune.h"
#include "file_access.h"
#include "file_undo.h"
#include "leftover_files.h"
#include "project_link.h"
#include "run_lock.h"
#include "xml_document.h"
#include "relative_form.h"
#include "source_tree.h"
#include "system_error.h"
#include "text_conversion.h"

namespace addfolder {
namespace {

run_outcome failure(std::u16string_view message) {
  run_outcome outcome;
  outcome.exit_code = exit_failure;
  outcome.message = message;
  return outcome;
}

// The end of a run that its observer stopped.
run_outcome stopped(const run_settings& settings) {
  run_outcome outcome;
  outcome.stopped = true;
  outcome.exit_code = settings.observer->stopped_exit_code();
  return outcome;
}

// The outcome after putting back what undo kept.
run_outcome undone(file_undo& undo, run_outcome outcome) {
  undo_replacement(undo);
  return outcome;
}

// The observer's answers at the safe points of the writes; yes without one.
bool may_begin_writing(const run_settings& settings) {
  return settings.observer == nullptr || settings.observer->begin_writing();
}
bool may_keep_writing(const run_settings& settings) {
  return settings.observer == nullptr || settings.observer->keep_writing();
}

std::u16string other_drive_message(const wide_path& folder) {
  return std::u16string(other_drive_intro) + folder + std::u16string(other_drive_detail);
}

// Whether the walk went past part of the folder: then what seems gone may
// only have been out of reach, and nothing is pruned.
bool walk_was_incomplete(const scan_problem_list& problems) {
  for (const scan_problem& problem : problems) {
    if (problem.kind != scan_problem_kind::backslash_name) return true;
  }
  return false;
}

// What the run makes of the folder, before any file is read.
struct folder_plan {
  connection_entries entries;
  // The folder's relative form, in narrow text.
  std::string folder;
  bool prune = false;
};

// The connection document that this run fills: new in create mode, the file
// on disk in extend mode. False when the file does not load.
bool open_connection(bool create_mode, const wide_path& connection_file, pugi::xml_document& document,
                     connection_sections& sections, file_stamp& stamp, document_text_problem& problem) {
  if (create_mode) {
    sections = build_connection_document(document);
    // Replaced unread, but not when another program wrote it meanwhile.
    return query_file_stamp(connection_file, stamp) == 0;
  }
  if (!load_document(document, connection_file, &stamp, &problem)) return false;
  sections = open_connection_document(document);
  return true;
}

// Whether the file is still in the state in which this run read it.
bool is_unchanged(const wide_path& file, const file_stamp& read) {
  file_stamp now;
  return query_file_stamp(file, now) == 0 && now == read;
}

// The two files of the project.
struct project_files {
  wide_path project;
  wide_path connection;
  std::string reference;
};

// One attempt, from reading the project file to the last write. A file that
// changed since this attempt read it ends the attempt with changed_file set
// to that file's message and nothing written. An observer that asks to stop
// after the last write gets a complete run that ends as stopped.
run_outcome write_once(const project_files& files, const folder_plan& plan, const run_settings& settings,
                       run_outcome outcome, std::u16string_view& changed_file) {
  change_log& changes = outcome.changes;
  changes.lists_changes = settings.dry_run;
  pugi::xml_document project;
  file_stamp project_stamp;
  document_text_problem text_problem;
  const link_result link = link_project_file(files.project, files.reference, project, &project_stamp, &text_problem);
  if (link == link_result::load_failed) return failure(document_failure_message(project_file_error, text_problem));
  const bool create_mode = link == link_result::added;
  if (create_mode) {
    changes.counts.reference_added = true;
    note_change(changes, true, change_place::project, {}, files.reference);
  }

  file_undo connection_undo;
  try {
    pugi::xml_document document;
    connection_sections sections;
    file_stamp connection_stamp;
    if (!open_connection(create_mode, files.connection, document, sections, connection_stamp, text_problem)) {
      return failure(document_failure_message(connection_file_error, text_problem));
    }
    std::vector<pugi::xml_node> listing;
    fill_connection_document(sections, plan.entries, changes, plan.prune ? &listing : nullptr);
    if (plan.prune) prune_connection_document(sections, plan.entries, plan.folder, listing, changes);
    if (settings.check && (create_mode || changes_connection_file(changes.counts))) {
      outcome.exit_code = exit_out_of_sync;
    }
    if (!may_begin_writing(settings)) return stopped(settings);
    if (settings.dry_run) return outcome;

    // A run that changes nothing in a file that is there leaves it alone: its
    // bytes, its time and the form another tool gave it. In create mode the
    // connection file comes first, so that the project never names one that
    // is not there, even when the run is killed in between.
    if (create_mode || changes_connection_file(changes.counts)) {
      if (!is_unchanged(files.connection, connection_stamp)) {
        changed_file = connection_file_error;
        return outcome;
      }
      // Only create mode writes after it, and may have to take it back.
      if (create_mode && !keep_for_undo(connection_undo, files.connection)) return failure(connection_file_error);
      if (!save_document(document, files.connection)) return failure(connection_file_error);
    }
  } catch (const std::bad_alloc&) {
    return undone(connection_undo, failure(out_of_memory));
  }

  if (create_mode) {
    // Stopped between the two writes, the run takes the connection file back.
    if (!may_keep_writing(settings)) return undone(connection_undo, stopped(settings));
    if (!is_unchanged(files.project, project_stamp)) {
      changed_file = project_file_error;
      return undone(connection_undo, outcome);
    }
    if (!save_document(project, files.project)) return undone(connection_undo, failure(project_file_error));
  }
  return may_keep_writing(settings) ? outcome : stopped(settings);
}

// Everything from the project file on, while this run holds the project's
// lock. A dry run works out every change and writes nothing.
run_outcome write_documents(const command_arguments& arguments, const folder_plan& plan, const run_settings& settings,
                            const run_outcome& scanned) {
  const project_files files{project_file_name(arguments, u".ewp"), project_file_name(arguments, u".ipcf"),
                            connection_reference(to_narrow(arguments.project_name))};
  run_lock lock;
  switch (acquire_run_lock(files.project, settings.lock_patience, lock)) {
    case lock_outcome::acquired:
    case lock_outcome::unsupported:
      break;
    case lock_outcome::timed_out:
      return failure(std::u16string(project_locked_intro) + files.project + std::u16string(project_locked_detail));
    case lock_outcome::failed:
      return failure(project_file_error);
  }
  if (!settings.dry_run) {
    // Under the lock no other run is saving, so these are left from runs that died.
    remove_leftover_files(files.project);
    remove_leftover_files(files.connection);
  }
  // Another program may save the project meanwhile: its change is kept, and
  // the run starts again from reading, a few times at most.
  constexpr int most_attempts = 4;
  std::u16string_view changed_file;
  for (int attempt = 0; attempt < most_attempts; ++attempt) {
    changed_file = {};
    run_outcome outcome = write_once(files, plan, settings, scanned, changed_file);
    if (changed_file.empty()) return outcome;
  }
  return failure(changed_file);
}

}  // namespace

run_outcome run_sequence(const command_arguments& arguments, const wide_path& chosen_folder,
                         const run_settings& settings, scan_problem_list& scan_problems) {
  try {
    const wide_path scan_root = relative_form(chosen_folder);
    if (scan_root.empty()) return failure(other_drive_message(chosen_folder));

    // Every text is made before a file is touched: a path that cannot be
    // resolved or named stops the run with the project as it was.
    folder_plan plan;
    {
      const source_tree tree =
          scan_source_tree(scan_root, settings.exclusions, scan_problems, walk_options{settings.jobs, settings.observer});
      if (tree.stopped) return stopped(settings);
      plan.entries = plan_connection_entries(tree);
    }
    plan.folder = to_narrow(scan_root);
    run_outcome outcome;
    if (settings.prune) {
      outcome.prune_skipped = walk_was_incomplete(scan_problems);
      plan.prune = !outcome.prune_skipped;
    }
    return write_documents(arguments, plan, settings, outcome);
  } catch (const system_error& error) {
    return failure(failure_message(error));
  } catch (const std::bad_alloc&) {
    return failure(out_of_memory);
  }
}

}  // namespace addfolder
