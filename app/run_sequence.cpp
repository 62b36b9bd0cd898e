#include "run_sequence.h"

#include <new>

#include <pugixml.hpp>

#include "connection_document.h"
#include "connection_fill.h"
#include "connection_prune.h"
#include "failure_message.h"
#include "file_names.h"
#include "folder_scope.h"
#include "file_undo.h"
#include "folder_choice.h"
#include "leftover_files.h"
#include "messages.h"
#include "project_link.h"
#include "relative_form.h"
#include "source_tree.h"
#include "system_error.h"
#include "text_conversion.h"
#include "text_roots.h"
#include "xml_document.h"

namespace addfolder {
namespace {

// A file's message and the reason under it; a lock that another run held
// too long has a message of its own.
run_outcome file_failure(std::u16string_view message, const document_error& error) {
  if (error.failure == document_failure::lock_timed_out) {
    return failure(exit_failure, project_locked_message(error.file));
  }
  return failure(exit_failure, message, document_error_reason(error));
}

// The end of a run that its observer stopped.
run_outcome stopped(const run_settings& settings) {
  run_outcome outcome;
  outcome.stopped = true;
  outcome.exit_code = settings.observer->stopped_exit_code();
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
  // What lies within the folder, for the prune.
  folder_scope folder;
  bool prune = false;
};

// The roots of the run's texts: the project directory, then the bases, each
// made absolute and weakly canonical.
text_roots roots_of(const wide_path& project_directory, const std::vector<base_definition>& bases) {
  text_roots roots = project_roots(project_directory);
  for (const base_definition& base : bases) {
    roots.push_back({variable_macro(to_narrow(base.name)), weakly_canonical(absolute_form(base.directory))});
  }
  return roots;
}

// The two files of the project, and how the project file may name the second.
struct project_files {
  wide_path project;
  wide_path connection;
  std::string reference;
  connection_file_names names;
};

// One attempt: both documents as this run read and changed them.
struct attempt {
  run_outcome outcome;
  pugi::xml_document project;
  file_stamp project_stamp;
  bool reference_added = false;
  pugi::xml_document connection;
  file_stamp connection_stamp;
};

// A failure of one of the files: the file's message and what failed.
struct file_error {
  std::u16string_view message;
  document_error error;
};

// The connection file that this run fills: the file on disk where there is
// one, or one that the project names; a new document otherwise.
file_error open_connection(const project_files& files, attempt& state, connection_sections& sections) {
  if (!state.connection_stamp.exists && state.reference_added) {
    sections = build_connection_document(state.connection);
    return {};
  }
  if (document_error error = load_document(state.connection, files.connection, &state.connection_stamp)) {
    return {connection_file_error, error};
  }
  return {connection_file_error, open_connection_document(state.connection, files.connection, sections)};
}

// Reads both files, the project file first, and makes this run's changes to
// them in memory.
file_error read_and_change(const project_files& files, const folder_plan& plan, attempt& state) {
  connection_file_names names = files.names;
  if (document_error error = query_file_stamp(files.connection, names.stamp)) return {connection_file_error, error};
  state.connection_stamp = names.stamp;
  link_result link = link_result::found;
  if (document_error error =
          link_project_file(files.project, names, files.reference, state.project, link, &state.project_stamp)) {
    return {project_file_error, error};
  }
  state.reference_added = link == link_result::added;
  connection_sections sections;
  if (file_error failed = open_connection(files, state, sections); failed.error) return failed;
  change_log& changes = state.outcome.changes;
  if (state.reference_added) {
    changes.counts.reference_added = true;
    note_change(changes, true, change_place::project, {}, files.reference);
  }
  fill_result filled = fill_connection_document(sections, plan.entries, changes);
  if (plan.prune) prune_connection_document(sections, plan.entries, plan.folder, filled, changes);
  return {};
}

// Writes what changed, each file only while it is the one this run read. A
// connection file comes before the project file that names it, so that the
// project never names one that is not there, even when the run is killed in
// between; and it is put back when the project file then cannot be written,
// or when the observer stops the run between the two. An observer that asks
// to stop after the last write gets a complete run that ends as stopped. A
// file that this run leaves unchanged keeps its bytes, its time and the form
// another tool gave it.
file_error write_changes(const project_files& files, const run_settings& settings, attempt& state) {
  file_undo undo;
  if (!state.connection_stamp.exists || changes_connection_file(state.outcome.changes.counts)) {
    if (document_error error = save_document_if_unchanged(state.connection, files.connection, state.connection_stamp,
                                                          state.reference_added ? &undo : nullptr)) {
      return {connection_file_error, error};
    }
  }
  if (state.reference_added) {
    // Stopped here, the undo takes the new connection file back as it ends.
    if (!may_keep_writing(settings)) {
      state.outcome = stopped(settings);
      return {};
    }
    if (document_error error = save_document_if_unchanged(state.project, files.project, state.project_stamp)) {
      return {project_file_error, error};
    }
  }
  undo.commit();
  if (!may_keep_writing(settings)) state.outcome = stopped(settings);
  return {};
}

// One attempt, from reading the project file to the last write. The observer
// may stop it before anything is written, or in a dry run reported.
file_error write_once(const project_files& files, const folder_plan& plan, const run_settings& settings,
                      run_outcome& outcome) {
  attempt state;
  state.outcome = outcome;
  state.outcome.changes.lists_changes = settings.dry_run;
  if (file_error failed = read_and_change(files, plan, state); failed.error) return failed;
  if (settings.check && (state.reference_added || changes_connection_file(state.outcome.changes.counts))) {
    state.outcome.exit_code = exit_out_of_sync;
  }
  if (!may_begin_writing(settings)) {
    outcome = stopped(settings);
    return {};
  }
  if (!settings.dry_run) {
    if (file_error failed = write_changes(files, settings, state); failed.error) return failed;
  }
  outcome = std::move(state.outcome);
  return {};
}

// Everything from the project file on, while this run holds the project's
// lock. A dry run works out every change and writes nothing.
run_outcome write_documents(const project_files& files, const folder_plan& plan, const run_settings& settings,
                            run_outcome outcome) {
  run_lock lock;
  if (document_error error = acquire_run_lock(files.project, settings.lock_patience, lock)) {
    return file_failure(project_file_error, error);
  }
  if (!settings.dry_run) {
    // Under the lock no other run is saving, so these are left from runs that died.
    remove_leftover_files(files.project);
    remove_leftover_files(files.connection);
  }
  // Another program may save a file meanwhile: its change is kept, and the
  // run starts again from reading, a few times at most.
  constexpr int most_attempts = 4;
  file_error failed;
  for (int attempt = 0; attempt < most_attempts; ++attempt) {
    failed = write_once(files, plan, settings, outcome);
    if (!failed.error) return outcome;
    if (failed.error.failure != document_failure::changed) break;
  }
  return file_failure(failed.message, failed.error);
}

// The two files by their full paths, which their messages name; full_directory
// is the project directory made absolute, project_directory its canonical form.
project_files files_of(const command_arguments& arguments, const wide_path& full_directory,
                       const wide_path& project_directory) {
  project_files files{project_file_name(full_directory, arguments.project_name, u".ewp"),
                      project_file_name(full_directory, arguments.project_name, u".ipcf"),
                      connection_reference(to_narrow(arguments.project_name)), {}};
  files.names.project_directory = project_directory;
  files.names.file_name = arguments.project_name + u".ipcf";
  return files;
}

}  // namespace

run_outcome run_sequence(const command_arguments& arguments, const wide_path& chosen_folder,
                         const run_settings& settings, scan_problem_list& scan_problems) {
  try {
    // Every relative form leads from the project directory; the walk finds
    // the folder from the working directory, as the user named it.
    const wide_path full_directory = absolute_form(arguments.project_directory);
    const wide_path project_directory = weakly_canonical(full_directory);
    const text_roots roots = roots_of(project_directory, settings.bases);
    const folder_forms folder = resolve_folder_forms(chosen_folder, roots);
    if (folder.relative.empty()) return failure(exit_failure, other_drive_message(chosen_folder));
    wide_path scan_root = relative_form(chosen_folder);
    if (scan_root.empty()) scan_root = chosen_folder;

    // Every text is made before a file is touched: a path that cannot be
    // resolved or named stops the run with the project as it was.
    folder_plan plan;
    {
      const source_tree tree = scan_source_tree(scan_root, roots, settings.exclusions, scan_problems,
                                                walk_options{settings.jobs, settings.observer});
      if (tree.stopped) return stopped(settings);
      plan.entries = plan_connection_entries(tree, settings.groups);
    }
    plan.folder = scope_of_folder(folder, roots);
    run_outcome outcome;
    outcome.walk_incomplete = walk_was_incomplete(scan_problems);
    if (settings.check && outcome.walk_incomplete) outcome.exit_code = exit_out_of_sync;
    outcome.prune_skipped = settings.prune && outcome.walk_incomplete;
    plan.prune = settings.prune && !outcome.walk_incomplete;
    return write_documents(files_of(arguments, full_directory, project_directory), plan, settings, outcome);
  } catch (const system_error& error) {
    return failure(exit_failure, failure_message(error));
  } catch (const std::bad_alloc&) {
    return failure(exit_failure, out_of_memory);
  }
}

}  // namespace addfolder
