#include "connection_prune.h"

#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "file_extension.h"
#include "path_text_match.h"
#include "text_conversion.h"

namespace addfolder {
namespace {

// Whether the last name of a path text has a source extension, by the same
// test as the scan's.
bool names_source_file(std::string_view text) {
  const size_t separator = text.find_last_of("\\/");
  wide_path name;
  if (!append_wide(name, separator == std::string_view::npos ? text : text.substr(separator + 1))) return false;
  return is_source_extension(path_extension(name));
}

bool is_element_named(pugi::xml_node node, std::string_view name) {
  return node.type() == pugi::node_element && std::string_view(node.name()) == name;
}

bool holds_element(pugi::xml_node node) {
  for (pugi::xml_node child : node.children()) {
    if (child.type() == pugi::node_element) return true;
  }
  return false;
}

// Removes the path elements among the children of section for which remove
// says so; returns how many.
template <typename Remove>
size_t remove_paths(connection_index& index, pugi::xml_node section, Remove remove) {
  size_t removed = 0;
  for (pugi::xml_node child = section.first_child(); child;) {
    const pugi::xml_node next = child.next_sibling();
    if (is_element_named(child, "path") && remove(child)) {
      remove_listed_child(index, child);
      ++removed;
    }
    child = next;
  }
  return removed;
}

// One prune: what it works on, and what it has removed so far.
struct prune_state {
  connection_index& index;
  const connection_entries& entries;
  const folder_scope& folder;
  change_log& log;
  // The same scope, asked of one text after another.
  within_test within;
};

// Include directories; one that both sections lose counts once.
void prune_include_paths(prune_state& state, const connection_sections& sections) {
  std::unordered_set<std::string, path_text_hasher, path_text_equal> removed_includes;
  for (const auto& [include_section, include_place] :
       {std::pair(sections.include_path, change_place::include_path),
        std::pair(sections.asm_include_path, change_place::asm_include_path)}) {
    const change_place place = include_place;
    remove_paths(state.index, include_section, [&](pugi::xml_node path) {
      // Most elements list this run's entries, which the cheapest test tells.
      if (lists_run_entry(state.index, path)) return false;
      const std::string_view text = path.child_value();
      if (!is_text_within(state.folder, text) || is_run_include_text(state.index, state.entries, text)) return false;
      removed_includes.emplace(text);
      note_change(state.log, false, place, {}, text);
      return true;
    });
  }
  state.log.counts.removed_include_directories += removed_includes.size();
}

// Stale source files among the children of a section; true when it lost any.
bool prune_source_files(prune_state& state, pugi::xml_node section, change_place place, std::string_view label) {
  const size_t removed = remove_paths(state.index, section, [&](pugi::xml_node path) {
    // The cheapest tests first: most texts are this run's next entry, or
    // lie outside the folder, as other folders' texts do.
    if (is_next_run_entry(state.index, path)) return false;
    const std::string_view text = path.child_value();
    if (!state.within(text) || lists_run_entry(state.index, path) || !names_source_file(text) ||
        is_run_source_text(state.index, state.entries, text)) {
      return false;
    }
    note_change(state.log, false, place, label, text);
    return true;
  });
  state.log.counts.removed_files += removed;
  if (removed != 0 && place == change_place::group) ++state.log.counts.groups_with_removed_files;
  return removed != 0;
}

void remove_group(prune_state& state, pugi::xml_node group, std::string_view label) {
  note_change(state.log, false, change_place::group, label, {});
  ++state.log.counts.removed_groups;
  remove_listed_child(state.index, group);
}

// A group below the top of a tree, with the index of its parent among them
// and how a report names it.
struct tree_group {
  pugi::xml_node node;
  size_t parent;
  std::string label;
  bool lost_any = false;
};

// Every group below top at any depth, each after its parent. The stack is
// the list itself, so a deeply nested document needs no deep call stack.
std::vector<tree_group> groups_below(const prune_state& state, pugi::xml_node top, std::string_view top_label) {
  std::vector<tree_group> groups;
  const auto add_children = [&](pugi::xml_node parent, size_t parent_index, std::string_view parent_label) {
    for (pugi::xml_node child : parent.children("group")) {
      std::string label;
      if (state.log.lists_changes) label = std::string(parent_label) + "\\" + child.attribute("name").value();
      groups.push_back({child, parent_index, std::move(label)});
    }
  };
  add_children(top, static_cast<size_t>(-1), top_label);
  for (size_t i = 0; i < groups.size(); ++i) add_children(groups[i].node, i, std::string(groups[i].label));
  return groups;
}

// Stale source files at any depth below a group of the top of a tree, then
// the groups there that this run emptied, from the bottom up; true when the
// group lost anything below it.
bool prune_tree_below(prune_state& state, pugi::xml_node top, std::string_view top_label) {
  std::vector<tree_group> groups = groups_below(state, top, top_label);
  bool top_lost_any = false;
  for (size_t i = groups.size(); i-- > 0;) {
    tree_group& group = groups[i];
    group.lost_any = prune_source_files(state, group.node, change_place::group, group.label) || group.lost_any;
    const bool emptied = group.lost_any && !holds_element(group.node) &&
                         is_single_plain_name(group.node.attribute("name").value());
    if (emptied) remove_group(state, group.node, group.label);
    // Only a group that went takes something from its parent.
    bool& parent_lost_any = group.parent == static_cast<size_t>(-1) ? top_lost_any : groups[group.parent].lost_any;
    parent_lost_any = parent_lost_any || emptied;
  }
  return top_lost_any;
}

// Whether the prune of a tree reaches below a group directly under files.
bool is_top_of_tree(const prune_state& state, pugi::xml_node group) {
  if (state.entries.layout != group_layout::tree) return false;
  if (state.entries.top_group == connection_entries::no_group) return true;
  return same_path_text(group.attribute("name").value(), state.entries.group_names[state.entries.top_group]);
}

}  // namespace

void prune_connection_document(connection_sections& sections, const connection_entries& entries,
                               const folder_scope& folder, fill_result& filled, change_log& log) {
  prune_state state{filled.index, entries, folder, log, within_test(folder)};
  prune_include_paths(state, sections);
  prune_source_files(state, sections.files, change_place::files, {});
  // Groups of the folder that this run left empty; an empty group that the
  // user made stays.
  std::vector<pugi::xml_node> emptied;
  for (pugi::xml_node group : sections.files.children("group")) {
    const std::string_view name = group.attribute("name").value();
    bool lost_any = is_top_of_tree(state, group) && prune_tree_below(state, group, name);
    lost_any = prune_source_files(state, group, change_place::group, name) || lost_any;
    if (lost_any && !holds_element(group)) emptied.push_back(group);
  }
  for (pugi::xml_node group : emptied) {
    const std::string_view name = group.attribute("name").value();
    if (is_group_within(folder, name)) remove_group(state, group, name);
  }
}

}  // namespace addfolder
