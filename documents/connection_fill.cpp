#include "connection_fill.h"

#include <unordered_map>
#include <unordered_set>

#include "connection_index.h"
#include "connection_match.h"
#include "path_text_match.h"
#include "text_store.h"

namespace addfolder {
namespace {

constexpr size_t no_group = connection_entries::no_group;

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

// An include section that is empty lists a text once it has taken the
// first of the same texts: the listing test needs no look at the section.
void add_to_empty_include_section(connection_index& index, pugi::xml_node section, change_place place,
                                  const std::vector<std::string>& path_texts, std::vector<bool>& added,
                                  change_log& log) {
  const std::vector<size_t> first = first_of_same_texts({path_texts.begin(), path_texts.end()});
  std::vector<pugi::xml_node> listing(path_texts.size());
  for (size_t i = 0; i < path_texts.size(); ++i) {
    if (first[i] == i) {
      listing[i] = append_path(index, section, path_texts[i]);
      added[i] = true;
      note_change(log, true, place, {}, path_texts[i]);
    } else {
      listing[i] = listing[first[i]];
    }
    note_run_entry(index, listing[i]);
  }
}

// One include section; marks the directories that it gained.
void add_include_paths(connection_index& index, pugi::xml_node section, change_place place,
                       const std::vector<std::string>& path_texts, std::vector<bool>& added, change_log& log) {
  if (section && !section.first_child()) {
    add_to_empty_include_section(index, section, place, path_texts, added, log);
    return;
  }
  for (size_t i = 0; i < path_texts.size(); ++i) {
    if (!add_path_if_missing(index, section, path_texts[i])) continue;
    added[i] = true;
    note_change(log, true, place, {}, path_texts[i]);
  }
}

// How a report names a group, worked out only for a report that lists changes.
std::string label_for(const change_log& log, const connection_entries& entries, size_t group) {
  return log.lists_changes ? group_label(entries, group) : std::string();
}

// Finds the group in its parent, or appends it there and notes it; added
// tells which.
pugi::xml_node find_or_add_group(connection_index& index, pugi::xml_node parent, const connection_entries& entries,
                                 size_t group, change_log& log, bool* added = nullptr) {
  const std::string& name = entries.group_names[group];
  pugi::xml_node found = find_child_group(index, parent, name);
  if (!found && parent) {
    found = append_group(index, parent, name);
    ++log.counts.added_groups;
    note_change(log, true, change_place::group, label_for(log, entries, group), {});
    if (added != nullptr) *added = true;
  }
  return found;
}

// The groups of a flat fill, and which of them this fill made for one
// planned group alone: such a group holds only the files that the fill
// appended there, each after the group's prefix.
struct flat_groups {
  std::vector<pugi::xml_node> nodes;
  std::vector<bool> made_alone;
};

flat_groups find_or_add_flat_groups(connection_index& index, pugi::xml_node files, const connection_entries& entries,
                                    change_log& log) {
  flat_groups groups;
  groups.nodes.reserve(entries.group_names.size());
  groups.made_alone.resize(entries.group_names.size(), false);
  // A made group that a later name finds again is shared.
  std::unordered_map<pugi::xml_node, size_t, connection_index::node_hash> made_for;
  for (size_t group = 0; group < entries.group_names.size(); ++group) {
    bool added = false;
    const pugi::xml_node node = find_or_add_group(index, files, entries, group, log, &added);
    groups.nodes.push_back(node);
    if (added) {
      groups.made_alone[group] = true;
      made_for.emplace(node, group);
    } else if (const auto maker = made_for.find(node); maker != made_for.end()) {
      groups.made_alone[maker->second] = false;
    }
  }
  return groups;
}

// The most files of a made group that are compared one by one; a larger
// group takes the index's hash set.
constexpr size_t compared_run_limit = 16;

// Whether a file of a group made alone is surely new there: no file before
// it in the group's run (from first) has its text. Files after the same
// prefix are the same text when what follows it is. False where that cannot
// be told cheaply; the listing test decides then.
bool is_surely_new(const connection_entries& entries, size_t first, size_t at) {
  if (at - first > compared_run_limit || entries.sources[at].is_whole()) return false;
  const std::string_view rest = entries.sources[at].text();
  for (size_t earlier = first; earlier < at; ++earlier) {
    const connection_entries::source& other = entries.sources[earlier];
    if (other.is_whole() || same_path_text(other.text(), rest)) return false;
  }
  return true;
}

// Appends a source file that its section lacks, and counts it.
void note_added_source(const connection_entries& entries, const connection_entries::source& source,
                       std::string_view path_text, std::vector<bool>& group_received, change_log& log) {
  ++log.counts.added_files;
  const bool in_group = source.group() != no_group;
  if (in_group && !group_received[source.group()]) {
    group_received[source.group()] = true;
    ++log.counts.groups_with_added_files;
  }
  note_change(log, true, in_group ? change_place::group : change_place::files,
              in_group ? label_for(log, entries, source.group()) : std::string(), path_text);
}

// Flat: every group of the run exists before the first file is placed, and
// no group is added after, so each name's group is fixed from here on. A
// file is listed when its own group lists it.
void add_flat_sources(connection_index& index, connection_sections& sections, const connection_entries& entries,
                      change_log& log) {
  flat_groups groups = find_or_add_flat_groups(index, sections.files, entries, log);
  std::vector<bool> group_received(entries.group_names.size(), false);
  // A group whose files come in more than one run is compared whole.
  std::vector<bool> run_seen(entries.group_names.size(), false);
  index.run_listing.reserve(index.run_listing.size() + entries.sources.size());
  std::string scratch;
  // Where the run of files of the group at hand begins.
  size_t run_first = 0;
  for (size_t i = 0; i < entries.sources.size(); ++i) {
    const connection_entries::source& source = entries.sources[i];
    const size_t group = source.group();
    if (i == 0 || entries.sources[i - 1].group() != group) {
      run_first = i;
      if (group != no_group && run_seen[group]) groups.made_alone[group] = false;
      if (group != no_group) run_seen[group] = true;
    }
    const pugi::xml_node section = group != no_group ? groups.nodes[group] : sections.files;
    // A run that finds what an earlier run wrote finds each file right after
    // the one before, as the listing test would.
    const pugi::xml_node likely = index.next_likely;
    if (likely && likely.parent() == section && holds_source_text(likely, entries, source)) {
      note_run_entry(index, likely);
      index.next_likely = likely.next_sibling();
      continue;
    }
    const std::string_view text = path_text_of(entries, source, scratch);
    if (group != no_group && groups.made_alone[group] && is_surely_new(entries, run_first, i)) {
      note_run_entry(index, append_path(index, section, text));
      note_added_source(entries, source, text, group_received, log);
    } else if (add_path_if_missing(index, section, text)) {
      note_added_source(entries, source, text, group_received, log);
    }
  }
}

// Tree: a file is listed wherever its text stands in files, and stays
// there; only files that are listed nowhere go into the tree, so a folder
// that was grouped flat gets no file twice. A group is found or made only
// on the way to such a file, each before its subgroups, and all before the
// first file.
void add_tree_sources(connection_index& index, connection_sections& sections, const connection_entries& entries,
                      change_log& log) {
  std::vector<bool> is_new(entries.sources.size(), false);
  std::vector<bool> needed(entries.group_names.size(), false);
  std::unordered_set<std::string_view, path_text_hasher, path_text_equal> new_texts;
  // The new texts that the entries make only on demand.
  text_store made_texts;
  std::string scratch;
  index.run_listing.reserve(index.run_listing.size() + entries.sources.size());
  for (size_t i = 0; i < entries.sources.size() && sections.files; ++i) {
    const connection_entries::source& source = entries.sources[i];
    const std::string_view text = path_text_of(entries, source, scratch);
    if (const pugi::xml_node listed = listing_element_in_files(index, text)) {
      note_run_entry(index, listed);
    } else if (new_texts.count(text) == 0) {
      new_texts.insert(source.is_whole() ? text : made_texts.add(text));
      is_new[i] = true;
      for (size_t group = source.group(); group != no_group && !needed[group]; group = group_parent(entries, group)) {
        needed[group] = true;
      }
    }
  }
  std::vector<pugi::xml_node> groups(entries.group_names.size());
  for (size_t group = 0; group < entries.group_names.size(); ++group) {
    if (!needed[group]) continue;
    const size_t parent = group_parent(entries, group);
    groups[group] = find_or_add_group(index, parent == no_group ? sections.files : groups[parent], entries, group, log);
  }
  std::vector<bool> group_received(entries.group_names.size(), false);
  for (size_t i = 0; i < entries.sources.size(); ++i) {
    if (!is_new[i]) continue;
    const connection_entries::source& source = entries.sources[i];
    const pugi::xml_node section = source.group() != no_group ? groups[source.group()] : sections.files;
    const std::string_view text = path_text_of(entries, source, scratch);
    const pugi::xml_node added = append_path(index, section, text);
    if (!added) continue;
    note_run_entry(index, added);
    note_added_source(entries, source, text, group_received, log);
  }
}

}  // namespace

fill_result fill_connection_document(connection_sections& sections, const connection_entries& entries,
                                     change_log& log) {
  fill_result filled{start_connection_index(sections.files)};
  connection_index& index = filled.index;
  // The prototype leaves the document however the fill ends.
  struct appending {
    connection_index& index;
    ~appending() { end_appending(index); }
  } scope{index};
  begin_appending(index, sections.root.root());
  std::vector<bool> include_added(entries.include_paths.size(), false);
  add_include_paths(index, sections.include_path, change_place::include_path, entries.include_paths, include_added,
                    log);
  add_include_paths(index, sections.asm_include_path, change_place::asm_include_path, entries.include_paths,
                    include_added, log);
  for (const bool added : include_added) log.counts.added_include_directories += added ? 1 : 0;
  if (entries.layout == group_layout::flat) {
    add_flat_sources(index, sections, entries, log);
  } else {
    add_tree_sources(index, sections, entries, log);
  }
  return filled;
}

}  // namespace addfolder
