#include "documents/connection_index.h"

#include <functional>

namespace addfolder {
namespace {

void index_section(connection_index& index, pugi::xml_node section) {
  if (!index.indexed_sections.insert(section).second) return;
  for (pugi::xml_node child : section.children()) index.listed_texts.insert({section, child.child_value()});
}

// Records a child appended to section, once it has its final text.
void record_child(connection_index& index, pugi::xml_node section, pugi::xml_node child) {
  if (index.indexed_sections.count(section) != 0) index.listed_texts.insert({section, child.child_value()});
}

// Every attribute called name of every group counts; the first group in
// document order wins, as in find_child_by_attribute.
void record_group(connection_index& index, pugi::xml_node group) {
  for (pugi::xml_attribute attribute : group.attributes()) {
    if (std::string_view(attribute.name()) == "name") index.groups.emplace(attribute.value(), group);
  }
}

void index_groups(connection_index& index) {
  if (index.groups_indexed) return;
  index.groups_indexed = true;
  for (pugi::xml_node child : index.files.children()) {
    if (std::string_view(child.name()) == "group") record_group(index, child);
  }
}

}  // namespace

size_t connection_index::listed_text_hash::operator()(const listed_text& listed) const {
  return std::hash<std::string_view>()(listed.text) ^ (listed.section.hash_value() * 0x9E3779B97F4A7C15ull);
}

connection_index start_connection_index(pugi::xml_node files) {
  connection_index index;
  index.files = files;
  return index;
}

bool is_path_listed(connection_index& index, pugi::xml_node section, std::string_view path_text) {
  if (!section) return false;
  index_section(index, section);
  return index.listed_texts.count({section, path_text}) != 0;
}

pugi::xml_node find_group(connection_index& index, std::string_view name) {
  if (!index.files) return pugi::xml_node();
  index_groups(index);
  // The document's texts end at their first zero byte, and so does the
  // name that find_child_by_attribute compares with them.
  const auto found = index.groups.find(name.substr(0, name.find('\0')));
  return found == index.groups.end() ? pugi::xml_node() : found->second;
}

pugi::xml_node append_path(connection_index& index, pugi::xml_node section, std::string_view path_text) {
  pugi::xml_node path = section.append_child("path");
  if (!path) return path;
  pugi::xml_node text = path.append_child(pugi::node_pcdata);
  const bool complete = text && text.set_value(path_text.data(), path_text.size());
  record_child(index, section, path);
  return complete ? path : pugi::xml_node();
}

pugi::xml_node append_group(connection_index& index, std::string_view name) {
  pugi::xml_node group = index.files.append_child("group");
  if (!group) return group;
  const bool complete = group.append_attribute("name").set_value(name.data(), name.size());
  record_child(index, index.files, group);
  if (index.groups_indexed) record_group(index, group);
  return complete ? group : pugi::xml_node();
}

}  // namespace addfolder
