#include "tree_walk.h"

#include "text_conversion.h"

namespace addfolder {
namespace {

// Takes a listed directory onto the stack; returns its error, if any.
int push_level(tree_walk& walk, std::unique_ptr<listed_folder> folder) {
  walk.lister->await(*folder);
  if (folder->error != 0) return folder->error;
  if (walk.levels.size() == walk.depth) walk.levels.emplace_back();
  walk_level& level = walk.levels[walk.depth];
  level.folder = std::move(folder);
  level.next = 0;
  level.next_subfolder = 0;
  ++walk.depth;
  return 0;
}

}  // namespace

int start_walk(tree_walk& walk, const wide_path& root, const exclusion_rules& rules, unsigned jobs) {
  walk.levels.clear();
  walk.lister = std::make_unique<folder_lister>(rules, jobs);
  walk.path = root;
  walk.entry = nullptr;
  walk.name = {};
  walk.error = 0;
  walk.depth = 0;
  walk.entering.reset();
  auto folder = std::make_unique<listed_folder>();
  folder->path = root;
  folder->exclusions = root_exclusion_state(rules);
  return push_level(walk, std::move(folder));
}

int start_walk(tree_walk& walk, const wide_path& root) {
  static const exclusion_rules no_exclusions;
  return start_walk(walk, root, no_exclusions);
}

walk_event next_walk_event(tree_walk& walk) {
  walk.entry = nullptr;
  walk.name = {};
  walk.error = 0;
  if (walk.entering) {
    if (const int error = push_level(walk, std::move(walk.entering)); error != 0) {
      walk.error = error;
      return walk_event::unreadable_directory;
    }
  }
  while (walk.depth > 0) {
    walk_level& level = walk.levels[walk.depth - 1];
    listed_folder& folder = *level.folder;
    if (level.next == folder.listing.entries.size()) {
      // Its subfolders have all been entered, so nothing lists below it any more.
      level.folder.reset();
      --walk.depth;
      continue;
    }
    const std::size_t index = level.next++;
    const directory_entry& entry = folder.listing.entries[index];
    walk.path.resize(folder.path.size());
    if (entry.unconvertible_name) {
      walk.error = unconvertible_character_error();
      return walk_event::unconvertible_name;
    }
    walk.entry = &entry;
    walk.name = folder.listing.name(entry);
    if (entry.name_holds_backslash) return walk_event::backslash_name;
    if (!folder.left_out.empty() && folder.left_out[index]) continue;
    append_element(walk.path, walk.name);
    if (entry.is_directory) walk.entering = std::move(folder.subfolders[level.next_subfolder++]);
    return walk_event::entry;
  }
  return walk_event::end;
}

}  // namespace addfolder
