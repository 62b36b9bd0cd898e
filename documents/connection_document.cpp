#include "connection_document.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "relative_form.h"
#include "system_error.h"
#include "text_conversion.h"

namespace addfolder {
namespace {

// The document element, and its sections in the layout's order.
constexpr const char* root_element = "iarProjectConnection";
constexpr const char* section_names[] = {"includePath", "asmIncludePath", "files"};

// The group name of the working directory itself, whose files go directly into files.
constexpr std::string_view working_directory_name = ".";

// The folders that satisfy keep, in the byte order of their keys: made once
// per folder, they spare the sort a walk along two long paths for every
// comparison.
template <typename Keep, typename Key>
std::vector<const source_folder*> folders_in_order(const source_tree& tree, Keep keep, Key key) {
  std::vector<std::pair<std::string, const source_folder*>> keyed;
  for (const source_folder& folder : tree.folders) {
    if (keep(folder)) keyed.emplace_back(key(folder.path), &folder);
  }
  std::sort(keyed.begin(), keyed.end());
  std::vector<const source_folder*> folders;
  folders.reserve(keyed.size());
  for (const auto& [ignored, folder] : keyed) folders.push_back(folder);
  return folders;
}

// The start of the path text of a folder's files: its own path text and "",
// or the macro alone for the working directory.
std::string entry_text_prefix(const source_folder& folder) {
  // A folder without a relative form names its files by the macro alone.
  if (folder.relative == u"." || folder.relative.empty()) return std::string(project_directory_macro);
  return path_text(folder.relative) + "\\";
}

// The path text of an entry that a folder lists, made in text: the folder's
// text and the entry's name, unless the entry has a relative form of its own.
void make_source_path_text(const source_folder& folder, const std::string& prefix, const source_entry& entry,
                           std::string& text) {
  if (const wide_path* own_relative = folder.own_relative(entry)) {
    text = path_text(*own_relative);
    return;
  }
  text = prefix;
  if (folder.relative.empty()) return;
  if (entry.unconvertible_name) throw system_error(unconvertible_character_error());
  text += folder.name(entry);
}

}  // namespace

void add_source(connection_entries& entries, std::string_view path_text, size_t group) {
  entries.sources.push_back({entries.texts.add(path_text), group});
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

connection_entries plan_connection_entries(const source_tree& tree) {
  connection_entries entries;
  const auto header_folders = folders_in_order(
      tree, [](const source_folder& folder) { return folder.holds_header; }, path_order_key);
  entries.include_paths.reserve(header_folders.size());
  for (const source_folder* folder : header_folders) entries.include_paths.push_back(path_text(folder->relative));

  // Groups in the byte order of the folders' narrow texts.
  const auto source_folders = folders_in_order(
      tree, [](const source_folder& folder) { return !folder.sources.empty(); }, to_narrow);
  size_t source_count = 0;
  for (const source_folder* folder : source_folders) source_count += folder->sources.size();
  entries.sources.reserve(source_count);
  std::string text;
  for (const source_folder* folder : source_folders) {
    std::string name = to_narrow(folder->relative);
    size_t group = connection_entries::no_group;
    if (name != working_directory_name) {
      group = entries.group_names.size();
      entries.group_names.push_back(std::move(name));
    }
    const std::string prefix = entry_text_prefix(*folder);
    for (const source_entry& entry : folder->sources) {
      make_source_path_text(*folder, prefix, entry, text);
      entries.sources.push_back({entries.texts.add(text), group});
    }
  }
  return entries;
}

}  // namespace addfolder
