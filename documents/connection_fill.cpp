#include "connection_fill.h"

#include "connection_index.h"

namespace addfolder {
namespace {

// Appends a path to a section that does not list it yet; true when it did.
// Either way, notes the element that lists it.
bool add_path_if_missing(connection_index& index, pugi::xml_node section, std::string_view text) {
  if (!section) return false;
  if (const pugi::xml_node listed = listing_child(index, section, text)) {
    note_run_entry(index, listed);
    return false;
  }
  note_run_entry(index, append_path(index, section, text));
  return true;
}

// One include section; marks the directories that it gained.
void add_include_paths(connection_index& index, pugi::xml_node section, change_place place,
                       const std::vector<std::string>& path_texts, std::vector<bool>& added, change_log& log) {
  for (size_t i = 0; i < path_texts.size(); ++i) {
    if (!add_path_if_missing(index, section, path_texts[i])) continue;
    added[i] = true;
    note_change(log, true, place, {}, path_texts[i]);
  }
}

}  // namespace

fill_result fill_connection_document(connection_sections& sections, const connection_entries& entries,
                                     change_log& log) {
  fill_result filled{start_connection_index(sections.files)};
  connection_index& index = filled.index;
  std::vector<bool> include_added(entries.include_paths.size(), false);
  add_include_paths(index, sections.include_path, change_place::include_path, entries.include_paths, include_added,
                    log);
  add_include_paths(index, sections.asm_include_path, change_place::asm_include_path, entries.include_paths,
                    include_added, log);
  for (const bool added : include_added) log.counts.added_include_directories += added ? 1 : 0;

  // Every group exists before the first file is placed, and no group is
  // added after, so each name's group is fixed from here on.
  std::vector<pugi::xml_node> groups;
  groups.reserve(entries.group_names.size());
  for (const std::string& name : entries.group_names) {
    pugi::xml_node group = find_group(index, name);
    if (!group && sections.files) {
      group = append_group(index, name);
      ++log.counts.added_groups;
      note_change(log, true, change_place::group, name, {});
    }
    groups.push_back(group);
  }

  std::vector<bool> group_received(entries.group_names.size(), false);
  index.run_listing.reserve(index.run_listing.size() + entries.sources.size());
  for (const connection_entries::source& source : entries.sources) {
    const bool in_group = source.group != connection_entries::no_group;
    const pugi::xml_node section = in_group ? groups[source.group] : sections.files;
    if (!add_path_if_missing(index, section, source.path_text)) continue;
    ++log.counts.added_files;
    if (in_group && !group_received[source.group]) {
      group_received[source.group] = true;
      ++log.counts.groups_with_added_files;
    }
    note_change(log, true, in_group ? change_place::group : change_place::files,
                in_group ? std::string_view(entries.group_names[source.group]) : std::string_view(), source.path_text);
  }
  return filled;
}

}  // namespace addfolder
