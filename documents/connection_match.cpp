#include "connection_match.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "path_text_match.h"

namespace addfolder {
namespace {

constexpr size_t no_group = connection_entries::no_group;

bool is_path_element(pugi::xml_node node) {
  return node.type() == pugi::node_element && std::string_view(node.name()) == "path";
}

// A group element whose one attribute is its name.
bool is_group_named(pugi::xml_node node, std::string_view name) {
  if (node.type() != pugi::node_element || std::string_view(node.name()) != "group") return false;
  const pugi::xml_attribute attribute = node.first_attribute();
  return attribute && !attribute.next_attribute() && std::string_view(attribute.name()) == "name" &&
         std::string_view(attribute.value()) == name;
}

// Where each group's files lie in a plan's entries, which a fill of the flat
// layout gives group by group, and the files directly in files; false where
// a group's files are not in one run.
struct group_runs {
  std::vector<std::pair<size_t, size_t>> runs;
  std::vector<size_t> loose;
};

bool find_group_runs(const connection_entries& entries, group_runs& found) {
  found.runs.assign(entries.group_names.size(), {0, 0});
  found.loose.clear();
  for (size_t i = 0; i < entries.sources.size(); ++i) {
    const size_t group = entries.sources[i].group();
    if (group == no_group) {
      found.loose.push_back(i);
      continue;
    }
    auto& [first, count] = found.runs[group];
    if (count == 0) first = i;
    if (first + count != i) return false;
    ++count;
  }
  return true;
}

// Reads a section's children in order against what it must list.
struct section_reader {
  pugi::xml_node next;
  // Whether the next child is a path with the text; moves on if so.
  bool take_path(std::string_view text) {
    if (!is_path_element(next) || std::string_view(next.child_value()) != text) return false;
    next = next.next_sibling();
    return true;
  }
  bool take_source(const connection_entries& entries, size_t i) {
    if (!is_path_element(next) || !holds_source_text(next, entries, entries.sources[i])) return false;
    next = next.next_sibling();
    return true;
  }
};

bool includes_listed_exactly(pugi::xml_node section, const std::vector<planned_entries>& plans) {
  if (!section) return false;
  section_reader reader{section.first_child()};
  for (const planned_entries& plan : plans) {
    for (const std::string& text : plan.entries->include_paths) {
      if (!reader.take_path(text)) return false;
    }
  }
  return !reader.next;
}

bool files_hold_exactly(pugi::xml_node files, const std::vector<planned_entries>& plans) {
  if (!files) return false;
  section_reader groups{files.first_child()};
  group_runs found;
  for (const planned_entries& plan : plans) {
    const connection_entries& entries = *plan.entries;
    if (entries.layout != group_layout::flat || !find_group_runs(entries, found)) return false;
    for (size_t group = 0; group < entries.group_names.size(); ++group) {
      if (!is_group_named(groups.next, entries.group_names[group])) return false;
      section_reader sources{groups.next.first_child()};
      for (size_t i = found.runs[group].first; i < found.runs[group].first + found.runs[group].second; ++i) {
        if (!sources.take_source(entries, i)) return false;
      }
      if (sources.next) return false;
      groups.next = groups.next.next_sibling();
    }
    for (const size_t i : found.loose) {
      if (!groups.take_source(entries, i)) return false;
    }
  }
  return !groups.next;
}

// Each group is the only one of its name, so each fill finds its own.
bool group_names_differ(const std::vector<planned_entries>& plans) {
  std::vector<std::string_view> names;
  for (const planned_entries& plan : plans) {
    names.insert(names.end(), plan.entries->group_names.begin(), plan.entries->group_names.end());
  }
  return are_different_texts(names);
}

// Whether any file of a plan lies within the scope of the test. The files
// of a group mostly follow its prefix, which then answers for them all.
bool any_source_within(const connection_entries& entries, within_test& within) {
  std::string scratch;
  std::optional<bool> group_answer;
  for (size_t i = 0; i < entries.sources.size(); ++i) {
    const connection_entries::source& source = entries.sources[i];
    if (i == 0 || source.group() != entries.sources[i - 1].group()) {
      group_answer = within.after_prefix(path_prefix_of(entries, source));
    }
    if (source.is_whole() || !group_answer) {
      if (within(path_text_of(entries, source, scratch))) return true;
    } else if (*group_answer && has_plain_names(source.text())) {
      return true;
    }
  }
  return false;
}

// No prune reaches another plan's entries.
bool prunes_keep_to_their_own(const std::vector<planned_entries>& plans) {
  for (size_t pruned = 0; pruned < plans.size(); ++pruned) {
    if (plans[pruned].prune_scope == nullptr) continue;
    within_test within(*plans[pruned].prune_scope);
    for (size_t other = 0; other < plans.size(); ++other) {
      if (other == pruned) continue;
      for (const std::string& text : plans[other].entries->include_paths) {
        if (within(text)) return false;
      }
      if (any_source_within(*plans[other].entries, within)) return false;
    }
  }
  return true;
}

}  // namespace

bool holds_source_text(pugi::xml_node node, const connection_entries& entries,
                       const connection_entries::source& source) {
  const std::string_view value = node.child_value();
  const std::string_view prefix = path_prefix_of(entries, source);
  const std::string_view rest = source.text();
  return value.size() == prefix.size() + rest.size() && value.substr(0, prefix.size()) == prefix &&
         value.substr(prefix.size()) == rest;
}

bool holds_exactly(const connection_sections& sections, const std::vector<planned_entries>& plans) {
  return includes_listed_exactly(sections.include_path, plans) &&
         includes_listed_exactly(sections.asm_include_path, plans) && files_hold_exactly(sections.files, plans) &&
         group_names_differ(plans) && prunes_keep_to_their_own(plans);
}

}  // namespace addfolder
