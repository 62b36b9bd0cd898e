#include "exclusion_rules.h"

#include <algorithm>

namespace addfolder {
namespace {

constexpr wide_view any_folders_name = u"**";

// A pattern taken apart: its names without "." ones, and where its separators were.
struct pattern_outline {
  std::vector<wide_view> names;
  bool anchored = false;
  bool folders_only = false;
  bool has_parent_name = false;
};

pattern_outline outline(wide_view pattern) {
  pattern_outline result;
  // A "." name goes with the separators kept: "./x" is "/x", "x/." is "x/".
  bool separator_before_name = false;
  bool separator_pending = false;
  for (std::size_t index = 0; index < pattern.size();) {
    if (is_separator(pattern[index])) {
      separator_pending = true;
      ++index;
      continue;
    }
    std::size_t end = index;
    while (end < pattern.size() && !is_separator(pattern[end])) ++end;
    const wide_view name = pattern.substr(index, end - index);
    index = end;
    if (name == u".") continue;
    if (name == u"..") result.has_parent_name = true;
    if (separator_pending) separator_before_name = true;
    separator_pending = false;
    // Runs of "**" take any folders just as one does.
    if (name == any_folders_name && !result.names.empty() && result.names.back() == any_folders_name) continue;
    result.names.push_back(name);
  }
  result.anchored = separator_before_name;
  result.folders_only = separator_pending;
  return result;
}

bool contains(const std::vector<std::uint32_t>& positions, std::uint32_t position) {
  return std::find(positions.begin(), positions.end(), position) != positions.end();
}

// Adds a position to a state; a "**" brings the name after it too, since it may take no folder.
void enter(const exclusion_rules& rules, exclusion_state& state, std::uint32_t position) {
  const pattern_name& name = rules.names[position];
  if (name.any_folders) {
    // A "**" can be reached both by staying and by the name before it matching; its follower
    // is reached only through it.
    if (contains(state.positions, position)) return;
    state.positions.push_back(position);
    if (!name.last) state.positions.push_back(position + 1);
    return;
  }
  state.positions.push_back(position);
}

// Matches one entry against the name at position: true when that excludes it;
// otherwise, for a folder, what the name leads to goes into child.
bool step(const exclusion_rules& rules, std::uint32_t position, wide_view name, bool is_folder,
          exclusion_state* child) {
  const pattern_name& pattern = rules.names[position];
  if (pattern.any_folders) {
    if (pattern.last) return is_folder || !pattern.folders_only;
    if (is_folder && child != nullptr) enter(rules, *child, position);
    return false;
  }
  // A file ends the path, so only a last name that takes files can matter.
  if (!is_folder && (!pattern.last || pattern.folders_only)) return false;
  if (!matches_name_glob(pattern.glob, name)) return false;
  if (pattern.last) return true;
  if (child != nullptr) enter(rules, *child, position + 1);
  return false;
}

}  // namespace

bool add_exclusion_pattern(exclusion_rules& rules, wide_view pattern) {
  if (pattern.size() > most_pattern_length) return false;
  pattern_outline parts = outline(pattern);
  if (parts.names.empty() || parts.has_parent_name) return false;
  if (!parts.anchored && parts.names.front() != any_folders_name) parts.names.insert(parts.names.begin(), any_folders_name);

  const auto start = static_cast<std::uint32_t>(rules.names.size());
  for (const wide_view name : parts.names) {
    pattern_name compiled;
    compiled.any_folders = name == any_folders_name;
    if (!compiled.any_folders) compiled.glob = compile_name_glob(name);
    rules.names.push_back(std::move(compiled));
  }
  pattern_name& last = rules.names.back();
  last.last = true;
  last.folders_only = parts.folders_only;

  // A leading "**" that other names follow takes every folder: the name after it is
  // tried at every depth instead of being carried in every state.
  if (rules.names[start].any_folders && !rules.names[start].last) {
    rules.floating_for_folders.push_back(start + 1);
    const pattern_name& floating = rules.names[start + 1];
    if (floating.last && !floating.folders_only) rules.floating_for_files.push_back(start + 1);
  } else {
    rules.anchored_starts.push_back(start);
  }
  return true;
}

bool is_empty(const exclusion_rules& rules) { return rules.names.empty(); }

exclusion_state root_exclusion_state(const exclusion_rules& rules) {
  exclusion_state state;
  for (const std::uint32_t start : rules.anchored_starts) enter(rules, state, start);
  return state;
}

bool is_excluded(const exclusion_rules& rules, const exclusion_state& folder, wide_view name, bool is_folder,
                 exclusion_state* child) {
  if (child != nullptr) child->positions.clear();
  for (const std::uint32_t position : is_folder ? rules.floating_for_folders : rules.floating_for_files) {
    if (step(rules, position, name, is_folder, child)) return true;
  }
  for (const std::uint32_t position : folder.positions) {
    if (step(rules, position, name, is_folder, child)) return true;
  }
  return false;
}

}  // namespace addfolder
