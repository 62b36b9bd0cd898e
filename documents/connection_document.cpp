#include "connection_document.h"

#include <cstring>
#include <new>

namespace addfolder {
namespace {

// The document element, and its sections in the layout's order.
constexpr const char* root_element = "iarProjectConnection";
constexpr const char* section_names[] = {"includePath", "asmIncludePath", "files"};

}  // namespace

static_assert(sizeof(connection_entries::source) <= 16, "a large tree has a hundred thousand sources");

std::string_view path_prefix_of(const connection_entries& entries, const connection_entries::source& source) {
  if (source.is_whole()) return {};
  return source.group() == connection_entries::no_group ? entries.files_prefix : entries.group_prefixes[source.group()];
}

std::string_view path_text_of(const connection_entries& entries, const connection_entries::source& source,
                              std::string& scratch) {
  if (source.is_whole()) return source.text();
  scratch = path_prefix_of(entries, source);
  scratch += source.text();
  return scratch;
}

std::string path_text_of(const connection_entries& entries, const connection_entries::source& source) {
  std::string text;
  return std::string(path_text_of(entries, source, text));
}

void add_source(connection_entries& entries, std::string_view path_text, size_t group) {
  entries.sources.push_back({entries.texts.add(path_text), group});
}

size_t group_parent(const connection_entries& entries, size_t group) {
  return entries.group_parents.empty() ? connection_entries::no_group : entries.group_parents[group];
}

std::string group_label(const connection_entries& entries, size_t group) {
  std::string label = entries.group_names[group];
  for (size_t parent = group_parent(entries, group); parent != connection_entries::no_group;
       parent = group_parent(entries, parent)) {
    label = entries.group_names[parent] + "\\" + label;
  }
  return label;
}

connection_sections build_connection_document(pugi::xml_document& document) {
  connection_sections sections;
  sections.root = document.append_child(root_element);
  sections.root.append_attribute("name").set_value("src");
  sections.root.append_attribute("oneShot").set_value("false");
  sections.include_path = sections.root.append_child(section_names[0]);
  sections.asm_include_path = sections.root.append_child(section_names[1]);
  sections.files = sections.root.append_child(section_names[2]);
  return sections;
}

document_error open_connection_document(pugi::xml_document& document, const wide_path& file,
                                        connection_sections& sections) {
  sections = connection_sections{};
  pugi::xml_node root = document.document_element();
  if (std::strcmp(root.name(), root_element) != 0) return wrong_root_error(file, root.name(), root_element);
  sections.root = root;
  pugi::xml_node* const handles[] = {&sections.include_path, &sections.asm_include_path, &sections.files};
  for (size_t i = 0; i < std::size(section_names); ++i) *handles[i] = root.child(section_names[i]);
  for (size_t i = 0; i < std::size(section_names); ++i) {
    if (*handles[i]) continue;
    pugi::xml_node later;
    for (size_t j = i + 1; j < std::size(section_names) && !later; ++j) later = *handles[j];
    *handles[i] = later ? root.insert_child_before(section_names[i], later) : root.append_child(section_names[i]);
    if (!*handles[i]) throw std::bad_alloc();
  }
  return {};
}

}  // namespace addfolder
