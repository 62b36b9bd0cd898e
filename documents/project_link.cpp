#include "project_link.h"

#include <cstring>
#include <new>

#include "xml_document.h"

namespace addfolder {
namespace {

constexpr const char* project_element = "project";

bool is_element(pugi::xml_node node, const char* name) {
  return node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0;
}

// Whether any name element of a file element below root names the connection file.
bool names_connection_file(pugi::xml_node root, const connection_file_names& connection) {
  // Every node below root in document order, without recursion: projects
  // nest groups deeply.
  for (pugi::xml_node node = root.first_child(); node;) {
    if (is_element(node, "file")) {
      for (pugi::xml_node name : node.children("name")) {
        if (names_connection_file(name.child_value(), connection)) return true;
      }
    }
    pugi::xml_node next = node.first_child();
    for (pugi::xml_node up = node; !next && up != root; up = up.parent()) next = up.next_sibling();
    node = next;
  }
  return false;
}

// Appends project/file/name with the reference as the last child of project.
void append_reference(pugi::xml_node project, std::string_view reference) {
  pugi::xml_node text = project.append_child("file").append_child("name").append_child(pugi::node_pcdata);
  // Half an entry, without the reference, must never be saved.
  if (!text || !text.set_value(reference.data(), reference.size())) throw std::bad_alloc();
}

}  // namespace

document_error link_project_file(const wide_path& project_file, const connection_file_names& connection,
                                 std::string_view reference, pugi::xml_document& project, link_result& result,
                                 file_stamp* stamp) {
  if (document_error error = load_document(project, project_file, stamp)) return error;
  const pugi::xml_node root = project.document_element();
  if (std::strcmp(root.name(), project_element) != 0) return wrong_root_error(project_file, root.name(), project_element);
  result = names_connection_file(root, connection) ? link_result::found : link_result::added;
  if (result == link_result::added) append_reference(root, reference);
  return {};
}

}  // namespace addfolder
