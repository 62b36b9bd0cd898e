#include "project_link.h"

#include <new>

#include "path_text_match.h"
#include "xml_document.h"
#include "relative_form.h"

namespace addfolder {
namespace {

// Every name element of a top-level file entry of a document element project.
constexpr const char* project_file_names = "/project/file/name";

bool names_connection_file(const pugi::xml_document& project, std::string_view reference) {
  const pugi::xpath_query query(project_file_names);
  bool found = false;
  for (const pugi::xpath_node& name : project.select_nodes(query)) {
    if (same_path_text(name.node().child_value(), reference)) found = true;
  }
  return found;
}

// Appends project/file/name with the reference as the last child of project;
// nothing without a document element project.
void append_reference(pugi::xml_document& project, std::string_view reference) {
  pugi::xml_node root = project.child("project");
  if (!root) return;
  pugi::xml_node text = root.append_child("file").append_child("name").append_child(pugi::node_pcdata);
  // Half an entry, without the reference, must never be saved.
  if (!text || !text.set_value(reference.data(), reference.size())) throw std::bad_alloc();
}

}  // namespace

std::string connection_reference(std::string_view narrow_project_name) {
  std::string reference(project_directory_macro);
  reference += narrow_project_name;
  reference += ".ipcf";
  return reference;
}

link_result link_project_file(const wide_path& project_file, std::string_view connection_reference,
                              pugi::xml_document& project, file_stamp* stamp, document_text_problem* problem) {
  if (!load_document(project, project_file, stamp, problem)) return link_result::load_failed;
  if (names_connection_file(project, connection_reference)) return link_result::found;
  append_reference(project, connection_reference);
  return link_result::added;
}

}  // namespace addfolder
