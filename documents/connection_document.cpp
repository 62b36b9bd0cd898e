#include "connection_document.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <unordered_map>
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

// The macro of a root; a tree made without roots has the project directory alone.
std::string_view macro_of(const source_tree& tree, std::uint32_t root) {
  return tree.roots.empty() ? project_directory_macro : std::string_view(tree.roots[root].macro);
}

// The group name of a folder: its relative form, after the macro where a
// base names it.
std::string group_name_of(const source_tree& tree, std::uint32_t root, wide_view relative) {
  return root == project_root ? to_narrow(relative) : path_text(relative, macro_of(tree, root));
}

// The start of the path text of a folder's files: its own path text and "\",
// or the macro alone for its root itself.
std::string entry_text_prefix(const source_tree& tree, const source_folder& folder) {
  const std::string_view macro = macro_of(tree, folder.root);
  // A folder without a relative form names its files by the macro alone.
  if (folder.relative == u"." || folder.relative.empty()) return std::string(macro);
  return path_text(folder.relative, macro) + "\\";
}

// The path text of an entry that a folder lists, made in text: the folder's
// text and the entry's name, unless the entry has a relative form of its own.
void make_source_path_text(const source_tree& tree, const source_folder& folder, const std::string& prefix,
                           const source_entry& entry, std::string& text) {
  if (const wide_path* own_relative = folder.own_relative(entry)) {
    text = path_text(*own_relative, macro_of(tree, entry.own_root));
    return;
  }
  text = prefix;
  if (folder.relative.empty()) return;
  if (entry.unconvertible_name) throw system_error(unconvertible_character_error());
  text += folder.name(entry);
}

// Adds the files of a folder to the entries, into the group given.
void add_folder_sources(const source_tree& tree, const source_folder& folder, size_t group,
                        connection_entries& entries) {
  const std::string prefix = entry_text_prefix(tree, folder);
  std::string text;
  for (const source_entry& entry : folder.sources) {
    make_source_path_text(tree, folder, prefix, entry, text);
    entries.sources.push_back({entries.texts.add(text), group});
  }
}

void reserve_sources(const source_tree& tree, connection_entries& entries) {
  size_t source_count = 0;
  for (const source_folder& folder : tree.folders) source_count += folder.sources.size();
  entries.sources.reserve(source_count);
}

// One flat group per folder with sources, in the byte order of the folders'
// narrow texts.
void plan_flat_groups(const source_tree& tree, connection_entries& entries) {
  const auto source_folders = folders_in_order(
      tree, [](const source_folder& folder) { return !folder.sources.empty(); }, to_narrow);
  for (const source_folder* folder : source_folders) {
    std::string name = group_name_of(tree, folder->root, folder->relative);
    size_t group = connection_entries::no_group;
    if (name != working_directory_name) {
      group = entries.group_names.size();
      entries.group_names.push_back(std::move(name));
    }
    add_folder_sources(tree, *folder, group, entries);
  }
}

// Adds a group of the tree below parent.
size_t add_tree_group(connection_entries& entries, std::string name, size_t parent) {
  entries.group_names.push_back(std::move(name));
  entries.group_parents.push_back(parent);
  return entries.group_names.size() - 1;
}

// The group of a folder in the tree, made with the groups above it where
// they are new. groups maps the names below the scan root to their groups.
size_t tree_group_of(const source_tree& tree, const source_folder& folder,
                     std::unordered_map<wide_path, size_t>& groups, connection_entries& entries) {
  wide_view below = wide_view(folder.path).substr(std::min(tree.root.size(), folder.path.size()));
  while (!below.empty() && is_separator(below.front())) below.remove_prefix(1);
  size_t group = entries.top_group;
  for (size_t start = 0; start < below.size();) {
    size_t end = start;
    while (end < below.size() && !is_separator(below[end])) ++end;
    const auto [found, added] = groups.try_emplace(wide_path(below.substr(0, end)), 0);
    if (added) found->second = add_tree_group(entries, to_narrow(below.substr(start, end - start)), group);
    group = found->second;
    start = end + 1;
  }
  return group;
}

// The folder's own group, then the groups below it in the order in which
// the walk met their first sources.
void plan_tree_groups(const source_tree& tree, connection_entries& entries) {
  std::string top = group_name_of(tree, tree.root_forms.root, tree.root_forms.relative);
  if (top != working_directory_name && !top.empty()) {
    entries.top_group = add_tree_group(entries, std::move(top), connection_entries::no_group);
  }
  std::unordered_map<wide_path, size_t> groups;
  for (const source_folder& folder : tree.folders) {
    if (folder.sources.empty()) continue;
    add_folder_sources(tree, folder, tree_group_of(tree, folder, groups, entries), entries);
  }
}

}  // namespace

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

connection_entries plan_connection_entries(const source_tree& tree, group_layout layout) {
  connection_entries entries;
  entries.layout = layout;
  const auto header_folders = folders_in_order(
      tree, [](const source_folder& folder) { return folder.holds_header; }, path_order_key);
  entries.include_paths.reserve(header_folders.size());
  for (const source_folder* folder : header_folders) {
    entries.include_paths.push_back(path_text(folder->relative, macro_of(tree, folder->root)));
  }
  reserve_sources(tree, entries);
  if (layout == group_layout::flat) {
    plan_flat_groups(tree, entries);
  } else {
    plan_tree_groups(tree, entries);
  }
  return entries;
}

}  // namespace addfolder
