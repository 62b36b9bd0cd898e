#include "connection_plan.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "relative_form.h"
#include "text_conversion.h"

namespace addfolder {
namespace {

// The group name of the working directory itself, whose files go directly into files.
constexpr std::string_view working_directory_name = ".";

// Marks a length in lengths_ whose text is a whole path text.
constexpr std::uint32_t whole_text = 0x80000000u;

// Appends what an entry that a folder lists adds to the folder's prefix:
// its name. An entry with a relative form of its own has a whole path text
// instead; returns whole_text then, else 0.
std::uint32_t append_source_text(const source_folder& folder, const source_entry& entry, std::string_view own_macro,
                                 std::string& texts) {
  if (const wide_path* own_relative = folder.own_relative(entry)) {
    texts += path_text(*own_relative, own_macro);
    return whole_text;
  }
  // A folder without a relative form names its files by the prefix alone.
  if (folder.relative.empty()) return 0;
  if (entry.unconvertible_name) throw system_error(unconvertible_character_error());
  texts += folder.name(entry);
  return 0;
}

// Whether a sort key and walk index come before another: the key decides,
// and the walk's order among equal keys.
template <typename Planned>
bool key_less(const Planned& left, const Planned& right) {
  const int order = left.key.compare(right.key);
  return order != 0 ? order < 0 : left.index < right.index;
}

template <typename Planned>
bool walk_less(const Planned& left, const Planned& right) {
  return left.index < right.index;
}

// Adds a group of the tree below parent.
size_t add_tree_group(connection_entries& entries, std::string name, size_t parent) {
  entries.group_names.push_back(std::move(name));
  entries.group_parents.push_back(parent);
  return entries.group_names.size() - 1;
}

// The group of a folder in the tree, made with the groups above it where
// they are new. groups maps the names below the scan root to their groups.
size_t tree_group_of(const wide_path& root, wide_view path, std::unordered_map<wide_path, size_t>& groups,
                     connection_entries& entries) {
  wide_view below = path.substr(std::min(root.size(), path.size()));
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

}  // namespace

connection_planner::connection_planner(const text_roots& roots, group_layout layout)
    : roots_(roots),
      layout_(layout),
      folders_(layout == group_layout::flat ? key_less<planned_folder> : walk_less<planned_folder>),
      includes_(key_less<planned_include>) {
  entries_.layout = layout;
}

std::string_view connection_planner::macro_of(std::uint32_t root) const {
  return roots_.empty() ? project_directory_macro : std::string_view(roots_[root].macro);
}

// The group name of a folder: its relative form, after the macro where a
// base names it.
std::string connection_planner::group_name(std::uint32_t root, wide_view relative) const {
  return root == project_root ? to_narrow(relative) : path_text(relative, macro_of(root));
}

void connection_planner::take_folder(source_folder folder, std::size_t index) {
  if (error_) return;
  try {
    if (folder.holds_header) {
      const std::string_view key = include_keys_.add(path_order_key(folder.path));
      includes_.add({key, include_keys_.add(path_text(folder.relative, macro_of(folder.root))), index});
    }
    if (!folder.sources.empty()) plan_sources(folder, index);
  } catch (const system_error& error) {
    error_ = error;
  }
}

// Makes the path texts of a folder's files, back to back in one piece, and
// keeps what its group needs.
void connection_planner::plan_sources(source_folder& folder, std::size_t index) {
  planned_folder planned;
  planned.index = static_cast<std::uint32_t>(index);
  planned.first = static_cast<std::uint32_t>(lengths_.size());
  // Its relative form in narrow text, converted once for its group name and
  // the start of its files' texts.
  const std::string_view macro = macro_of(folder.root);
  const std::string relative = to_narrow(folder.relative);
  if (layout_ == group_layout::flat) {
    // The walk mostly spells the folder as its relative form.
    planned.key = folder_keys_.add(folder.path == folder.relative ? relative : to_narrow(folder.path));
    planned.group_name = folder.root != project_root ? folder_keys_.add(std::string(macro) + relative)
                         : relative == planned.key  ? planned.key
                                                    : folder_keys_.add(relative);
  }
  // The start of its files' texts: its own path text and "\", or the macro
  // alone for its root itself or a folder without a relative form.
  planned.prefix =
      entries_.texts.add(std::string(macro) + (relative == "." || relative.empty() ? "" : relative + "\\"));
  folder_texts_.clear();
  for (const source_entry& entry : folder.sources) {
    const size_t start = folder_texts_.size();
    const std::uint32_t whole = append_source_text(folder, entry, macro_of(entry.own_root), folder_texts_);
    lengths_.push_back(static_cast<std::uint32_t>(folder_texts_.size() - start) | whole);
  }
  planned.texts = entries_.texts.add(folder_texts_).data();
  planned.count = static_cast<std::uint32_t>(lengths_.size() - planned.first);
  if (layout_ == group_layout::tree) {
    planned.position = static_cast<std::uint32_t>(paths_.size());
    paths_.push_back(std::move(folder.path));
  }
  folders_.add(planned);
}

void connection_planner::place_sources(const planned_folder& folder, std::size_t group) {
  // A group's files share the prefix of the first folder placed in it; the
  // files of another folder there, should one have another, keep whole texts.
  if (group != connection_entries::no_group && entries_.group_prefixes.size() <= group) {
    entries_.group_prefixes.resize(entries_.group_names.size());
  }
  std::string_view& prefix =
      group == connection_entries::no_group ? entries_.files_prefix : entries_.group_prefixes[group];
  if (prefix.empty()) prefix = folder.prefix;
  const bool shares_prefix = prefix == folder.prefix;
  const char* text = folder.texts;
  for (std::uint32_t i = folder.first; i < folder.first + folder.count; ++i) {
    const std::string_view own(text, lengths_[i] & ~whole_text);
    text += own.size();
    if ((lengths_[i] & whole_text) != 0) {
      entries_.sources.emplace_back(own, group);
    } else if (shares_prefix) {
      entries_.sources.push_back(connection_entries::source::after_prefix(own, group));
    } else {
      entries_.sources.emplace_back(entries_.texts.add(std::string(folder.prefix).append(own)), group);
    }
  }
}

// One group per folder with sources, in the byte order of the folders' narrow texts.
void connection_planner::finish_flat() {
  for (const planned_folder& folder : folders_.sorted()) {
    size_t group = connection_entries::no_group;
    if (folder.group_name != working_directory_name) {
      group = entries_.group_names.size();
      entries_.group_names.emplace_back(folder.group_name);
    }
    place_sources(folder, group);
  }
}

// The folder's own group, then the groups below it in the order in which
// the walk met their folders.
void connection_planner::finish_tree(const source_tree& tree) {
  const folder_forms& top = tree.root_forms;
  std::string top_name = group_name(top.root, top.relative);
  if (top_name != working_directory_name && !top_name.empty()) {
    entries_.top_group = add_tree_group(entries_, std::move(top_name), connection_entries::no_group);
  }
  std::unordered_map<wide_path, size_t> groups;
  for (const planned_folder& folder : folders_.sorted()) {
    place_sources(folder, tree_group_of(tree.root, paths_[folder.position], groups, entries_));
  }
}

connection_entries connection_planner::finish(const source_tree& tree) {
  if (error_) throw *error_;
  const std::vector<planned_include>& includes = includes_.sorted();
  entries_.include_paths.reserve(includes.size());
  for (const planned_include& include : includes) entries_.include_paths.emplace_back(include.text);
  includes_.clear();
  include_keys_ = {};
  entries_.sources.reserve(lengths_.size());
  if (layout_ == group_layout::flat) {
    finish_flat();
  } else {
    finish_tree(tree);
  }
  lengths_ = {};
  folders_.clear();
  paths_ = {};
  folder_keys_ = {};
  return std::move(entries_);
}

connection_entries plan_connection_entries(const source_tree& tree, group_layout layout) {
  connection_planner planner(tree.roots, layout);
  for (size_t i = 0; i < tree.folders.size(); ++i) planner.take_folder(tree.folders[i], i);
  return planner.finish(tree);
}

}  // namespace addfolder
