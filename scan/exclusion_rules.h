// Exclusion patterns, and the walk's question: is this entry left out?
//
// A pattern is matched against an entry's path relative to the chosen folder,
// name by name; "/" and "\" both separate names, and runs of them count as
// one. A pattern with a separator before its last name (a leading one counts)
// is anchored at the chosen folder; one without matches a name at any depth,
// as if "**/" led it. A trailing separator makes it match folders only. "**"
// as a whole name matches any number of folders, none included; a trailing
// "**" matches everything below the folder before it, not that folder. A "."
// name is dropped (so "./x" is "x" anchored). Names match as name_glob.h says.
//
// The walk keeps one exclusion_state per folder it is in. For each entry it
// asks is_excluded with its folder's state; for a folder that it enters, the
// same call fills the state for that folder's entries. Nothing below an
// excluded folder is ever asked about.
#pragma once

#include <cstdint>
#include <vector>

#include "name_glob.h"
#include "path.h"

namespace addfolder {

// One name of a compiled pattern; a pattern's names lie in a row in exclusion_rules::names.
struct pattern_name {
  // The name as written; unused for "**".
  name_glob glob;
  // The name is "**": any number of folders.
  bool any_folders = false;
  // The name is the pattern's last: a match excludes the entry.
  bool last = false;
  // The pattern ends with a separator: its last name matches folders only.
  bool folders_only = false;
};

// A compiled set of patterns. An empty set excludes nothing at no cost.
struct exclusion_rules {
  // The names of every pattern, each pattern's in order.
  std::vector<pattern_name> names;
  // The first name of each pattern that the root state holds.
  std::vector<std::uint32_t> anchored_starts;
  // Names tried at every depth, since a "**" before them takes any folders:
  // all of them for folders, and the subset that can exclude a file.
  std::vector<std::uint32_t> floating_for_folders;
  std::vector<std::uint32_t> floating_for_files;
};

// The names of anchored patterns that entries of one folder are matched against,
// as positions in exclusion_rules::names. Reused by clear() and push_back, so a
// walk that keeps one per depth allocates only while it first goes deeper.
struct exclusion_state {
  std::vector<std::uint32_t> positions;
};

// The longest pattern, in UTF-16 units: a longer one is refused, so that the
// memory that patterns take stays in step with the input.
inline constexpr size_t most_pattern_length = 4096;

// Adds one pattern; returns false, leaving the rules unchanged, for a pattern that
// names nothing: empty, separators and "." names only, or holding a ".." name;
// and for one longer than most_pattern_length.
bool add_exclusion_pattern(exclusion_rules& rules, wide_view pattern);

// True when the rules hold no pattern.
bool is_empty(const exclusion_rules& rules);

// The state for the entries of the chosen folder itself.
exclusion_state root_exclusion_state(const exclusion_rules& rules);

// True when the entry (its name and whether it is a folder) is excluded. Otherwise, when child
// is not null, child (another state than folder) receives the state for a folder's entries.
bool is_excluded(const exclusion_rules& rules, const exclusion_state& folder, wide_view name, bool is_folder,
                 exclusion_state* child);

}  // namespace addfolder
