// What exclusion patterns cost the walk, per entry, on a generated tree
// (addfolder-bench-tree). The tree is walked once to record its entries; then
// the recorded walk is replayed through the matcher, as the walk asks it, with
// no patterns and with the given ones (by default ten that vendor trees call
// for), and the walk itself is timed for comparison. Prints nanoseconds per entry.
//
//   addfolder-bench-exclusions TREE [PATTERN...]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "exclusion_rules.h"
#include "text_conversion.h"
#include "tree_walk.h"

namespace {

using namespace addfolder;
using clock_type = std::chrono::steady_clock;

// One entry as the walk met it: depth 1 for the entries of the tree's root.
struct recorded_entry {
  wide_path name;
  bool is_folder = false;
  std::size_t depth = 0;
};

// Walks the tree; returns the seconds the walk took, the entries in entries.
double record_walk(const wide_path& root, std::vector<recorded_entry>& entries) {
  const clock_type::time_point start = clock_type::now();
  tree_walk walk;
  if (start_walk(walk, root) != 0) return -1;
  for (walk_event event = next_walk_event(walk); event != walk_event::end; event = next_walk_event(walk)) {
    if (event == walk_event::entry) entries.push_back({wide_path(walk.name), walk.entry->is_directory, walk.depth});
  }
  return std::chrono::duration<double>(clock_type::now() - start).count();
}

// How many entries a replay asked about, and how many of them were excluded.
struct replay_counts {
  std::size_t asked = 0;
  std::size_t excluded = 0;
};

// Replays the walk through the matcher, skipping what lies below an excluded folder.
replay_counts replay(const exclusion_rules& rules, const std::vector<recorded_entry>& entries,
                     std::vector<exclusion_state>& states) {
  replay_counts counts;
  std::size_t skip_below = 0;
  states.resize(1);
  states[0] = root_exclusion_state(rules);
  for (const recorded_entry& entry : entries) {
    if (skip_below != 0) {
      if (entry.depth > skip_below) continue;
      skip_below = 0;
    }
    ++counts.asked;
    if (states.size() <= entry.depth) states.resize(entry.depth + 1);
    exclusion_state* child = entry.is_folder ? &states[entry.depth] : nullptr;
    if (is_excluded(rules, states[entry.depth - 1], entry.name, entry.is_folder, child)) {
      ++counts.excluded;
      if (entry.is_folder) skip_below = entry.depth;
    }
  }
  return counts;
}

// The best of several replays, in nanoseconds per entry of the whole tree.
double replay_cost(const exclusion_rules& rules, const std::vector<recorded_entry>& entries, replay_counts& counts) {
  std::vector<exclusion_state> states;
  double best = 1e300;
  for (int round = 0; round < 21; ++round) {
    const clock_type::time_point start = clock_type::now();
    counts = replay(rules, entries, states);
    const double seconds = std::chrono::duration<double>(clock_type::now() - start).count();
    best = std::min(best, seconds);
  }
  return best * 1e9 / static_cast<double>(entries.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: addfolder-bench-exclusions TREE [PATTERN...]\n");
    return 2;
  }
  std::vector<std::string> patterns(argv + 2, argv + argc);
  if (patterns.empty()) {
    patterns = {"gcc/", "arm/",     "**/Templates/arm", "*_template.c", "test/", "*.txt", "Source/Templates/gcc",
                "doc/", "examples/", "*_ex.c"};
  }
  exclusion_rules rules;
  for (const std::string& pattern : patterns) {
    if (!add_exclusion_pattern(rules, to_wide(pattern))) {
      std::fprintf(stderr, "Invalid pattern: %s\n", pattern.c_str());
      return 2;
    }
  }
  std::vector<recorded_entry> entries;
  double walk_seconds = record_walk(to_wide(argv[1]), entries);
  if (walk_seconds < 0 || entries.empty()) {
    std::fprintf(stderr, "cannot walk %s\n", argv[1]);
    return 1;
  }
  // The second walk finds the tree in the cache, as the figures of the program are taken.
  for (int round = 0; round < 4; ++round) {
    std::vector<recorded_entry> again;
    walk_seconds = std::min(walk_seconds, record_walk(to_wide(argv[1]), again));
  }
  replay_counts counts;
  const double none = replay_cost(exclusion_rules(), entries, counts);
  const double with_patterns = replay_cost(rules, entries, counts);
  const double walk = walk_seconds * 1e9 / static_cast<double>(entries.size());
  std::printf("entries %zu, patterns %zu: %zu asked about, %zu excluded (nothing below an excluded folder is asked)\n",
              entries.size(), patterns.size(), counts.asked, counts.excluded);
  std::printf("walk %.1f ns/entry; matcher without patterns %.1f ns/entry, with them %.1f ns/entry (%.1f%% of the walk)\n",
              walk, none, with_patterns, 100 * with_patterns / walk);
  return 0;
}
