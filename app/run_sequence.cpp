#include "app/run_sequence.h"

#include <new>

#include <pugixml.hpp>

#include "app/failure_message.h"
#include "app/file_names.h"
#include "app/messages.h"
#include "documents/connection_document.h"
#include "documents/connection_fill.h"
#include "documents/connection_prune.h"
#include "documents/file_undo.h"
#include "documents/project_link.h"
#include "documents/xml_document.h"
#include "scan/relative_form.h"
#include "scan/source_tree.h"
#include "scan/system_error.h"
#include "scan/text_conversion.h"

namespace addfolder {
namespace {

run_outcome failure(std::u16string_view message) {
  run_outcome outcome;
  outcome.exit_code = exit_failure;
  outcome.message = message;
  return outcome;
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
                     connection_sections& sections) {
  if (create_mode) {
    sections = build_connection_document(document);
    return true;
  }
  if (!load_document(document, connection_file)) return false;
  sections = open_connection_document(document);
  return true;
}

// Everything from the project file on. Once the project file has been given
// the reference, every failure puts the old one back, so that the project
// never names a connection file that was not written. A dry run works out
// every change and writes nothing.
run_outcome write_documents(const command_arguments& arguments, const folder_plan& plan, const run_settings& settings,
                            run_outcome outcome) {
  const wide_path project_file = project_file_name(arguments, u".ewp");
  const wide_path connection_file = project_file_name(arguments, u".ipcf");
  const std::string reference = connection_reference(to_narrow(arguments.project_name));
  change_log& changes = outcome.changes;
  changes.lists_changes = settings.dry_run;

  file_undo project_undo;
  bool create_mode = false;
  {
    pugi::xml_document project;
    const link_result link = link_project_file(project_file, reference, project);
    if (link == link_result::load_failed) return failure(project_file_error);
    create_mode = link == link_result::added;
    if (create_mode) {
      changes.counts.reference_added = true;
      note_change(changes, true, change_place::project, {}, reference);
      if (!settings.dry_run) {
        if (!keep_for_undo(project_undo, project_file)) return failure(project_file_error);
        if (!save_document(project, project_file)) return failure(project_file_error);
      }
    }
  }

  try {
    pugi::xml_document document;
    connection_sections sections;
    if (!open_connection(create_mode, connection_file, document, sections)) return failure(connection_file_error);
    fill_connection_document(sections, plan.entries, changes);
    if (plan.prune) prune_connection_document(sections, plan.entries, plan.folder, changes);
    // A run that changes nothing in a file that is there leaves it alone:
    // its bytes, its time and the form another tool gave it.
    const bool write = create_mode || changes_connection_file(changes.counts);
    if (write && !settings.dry_run && !save_document(document, connection_file)) {
      undo_replacement(project_undo);
      return failure(connection_file_error);
    }
  } catch (const std::bad_alloc&) {
    undo_replacement(project_undo);
    return failure(out_of_memory);
  }
  if (settings.check && (changes.counts.reference_added || changes_connection_file(changes.counts))) {
    outcome.exit_code = exit_out_of_sync;
  }
  return outcome;
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
      const source_tree tree = scan_source_tree(scan_root, settings.exclusions, scan_problems);
      plan.entries = plan_connection_entries(tree);
    }
    plan.folder = to_narrow(scan_root);
    run_outcome outcome;
    if (settings.prune) {
      outcome.prune_skipped = walk_was_incomplete(scan_problems);
      plan.prune = !outcome.prune_skipped;
    }
    return write_documents(arguments, plan, settings, std::move(outcome));
  } catch (const system_error& error) {
    return failure(failure_message(error));
  } catch (const std::bad_alloc&) {
    return failure(out_of_memory);
  }
}

}  // namespace addfolder
