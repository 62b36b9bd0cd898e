#include "app/run_sequence.h"

#include <new>

#include <pugixml.hpp>

#include "app/failure_message.h"
#include "app/file_names.h"
#include "app/messages.h"
#include "documents/connection_document.h"
#include "documents/file_access.h"
#include "documents/project_link.h"
#include "documents/xml_document.h"
#include "scan/relative_form.h"
#include "scan/source_scan.h"
#include "scan/system_error.h"
#include "scan/text_conversion.h"

namespace addfolder {
namespace {

run_outcome failure(std::u16string message) { return run_outcome{exit_failure, std::move(message)}; }

std::u16string other_drive_message(const wide_path& folder) {
  return std::u16string(other_drive_intro) + folder + std::u16string(other_drive_detail);
}

// Everything from the project file on. Once the project file has been given
// the reference, every failure puts its old bytes back, so that the project
// never names a connection file that was not written.
run_outcome write_documents(const command_arguments& arguments, const connection_entries& entries) {
  const wide_path project_file = project_file_name(arguments, u".ewp");
  const wide_path connection_file = project_file_name(arguments, u".ipcf");
  const std::string reference = connection_reference(to_narrow(arguments.project_name));

  // When the project file is written, the old one keeps a second name until
  // the run ends, so that it can be put back by a rename, which needs no room
  // on a full disk; its bytes are the fallback where there is no second name.
  struct kept_project_file {
    wide_path name;
    ~kept_project_file() {
      if (!name.empty()) forget_old_file(name);
    }
  } kept_project;
  std::string original_project;
  const link_result link = link_project_file(project_file, reference, &original_project, &kept_project.name);
  if (link == link_result::load_failed || link == link_result::save_failed) return failure(std::u16string(project_file_error));

  const bool create_mode = link == link_result::added;
  const auto put_back_project_file = [&] {
    if (!kept_project.name.empty() && put_back_old_file(kept_project.name, project_file)) return;
    replace_file_content(project_file, original_project);
  };
  const auto undo_link = [&](std::u16string message) {
    if (create_mode) put_back_project_file();
    return failure(std::move(message));
  };

  try {
    pugi::xml_document document;
    connection_sections sections;
    if (create_mode) {
      sections = build_connection_document(document);
    } else if (load_document(document, connection_file)) {
      sections = open_connection_document(document);
    } else {
      return failure(std::u16string(connection_file_error));
    }
    size_t added = 0;
    if (!fill_connection_document(sections, entries, &added)) return undo_link(std::u16string(out_of_memory));
    // A run that adds nothing to a file that is there leaves it alone: its
    // bytes, its time and the form another tool gave it.
    if (!create_mode && added == 0) return run_outcome{};
    if (!save_document(document, connection_file)) return undo_link(std::u16string(connection_file_error));
  } catch (const std::bad_alloc&) {
    return undo_link(std::u16string(out_of_memory));
  }
  return run_outcome{};
}

}  // namespace

run_outcome run_sequence(const command_arguments& arguments, const wide_path& chosen_folder, std::ostream& scan_errors) {
  try {
    const wide_path scan_root = relative_form(chosen_folder);
    if (scan_root.empty()) return failure(other_drive_message(chosen_folder));

    walk_relative_forms forms = start_walk_relative_forms(scan_root);
    scan_results scan = scan_tree(scan_root, scan_errors);
    // Every text is made before a file is touched: a path that cannot be
    // resolved or named stops the run with the project as it was.
    const connection_entries entries = plan_connection_entries(scan.headers, scan.sources, forms);
    scan = scan_results{};
    forms = walk_relative_forms{};
    return write_documents(arguments, entries);
  } catch (const system_error& error) {
    return failure(failure_message(error));
  } catch (const std::bad_alloc&) {
    return failure(std::u16string(out_of_memory));
  }
}

}  // namespace addfolder
