#include "tree_walk.h"

#include "text_conversion.h"

namespace addfolder {
namespace {

// Lists the directory named by walk.path onto the next level of the stack.
int push_level(tree_walk& walk) {
  if (walk.levels.size() == walk.depth) walk.levels.emplace_back();
  walk_level& level = walk.levels[walk.depth];
  const int error = list_directory(walk.path, level.entries);
  if (error != 0) return error;
  level.next = 0;
  level.directory_length = walk.path.size();
  ++walk.depth;
  return 0;
}

}  // namespace

int start_walk(tree_walk& walk, const wide_path& root) {
  walk.path = root;
  walk.entry = nullptr;
  walk.error = 0;
  walk.depth = 0;
  walk.enter_next = false;
  return push_level(walk);
}

walk_event next_walk_event(tree_walk& walk) {
  walk.entry = nullptr;
  walk.error = 0;
  if (walk.enter_next) {
    walk.enter_next = false;
    if (const int error = push_level(walk); error != 0) {
      walk.error = error;
      return walk_event::unreadable_directory;
    }
  }
  while (walk.depth > 0) {
    walk_level& level = walk.levels[walk.depth - 1];
    if (level.next == level.entries.size()) {
      --walk.depth;
      continue;
    }
    const directory_entry& entry = level.entries[level.next++];
    walk.path.resize(level.directory_length);
    if (entry.unconvertible_name) {
      walk.error = unconvertible_character_error();
      return walk_event::unconvertible_name;
    }
    if (entry.name_holds_backslash) {
      walk.entry = &entry;
      return walk_event::backslash_name;
    }
    append_element(walk.path, entry.name);
    walk.entry = &entry;
    walk.enter_next = entry.is_directory;
    return walk_event::entry;
  }
  return walk_event::end;
}

}  // namespace addfolder
