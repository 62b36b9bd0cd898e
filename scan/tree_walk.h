// The depth-first walk below a directory, one step at a time.
//
// The walk holds its directories on a stack of its own, so the depth of a
// tree never touches the call stack. It yields entries pre-order, each
// directory's in listing order. A directory is entered when its listing says
// so; symbolic links and junctions are yielded but never entered.
#pragma once

#include <cstddef>
#include <vector>

#include "file_system.h"
#include "path.h"

namespace addfolder {

// What one step of a walk met.
enum class walk_event {
  // An entry: path is its entry path, entry what its listing reported.
  entry,
  // The directory yielded last could not be listed: path names it, error
  // holds the platform's code. The walk skips it and goes on with its siblings.
  unreadable_directory,
  // An entry whose name has no wide form: path names the directory that
  // lists it, error holds the platform's code. The entry is skipped.
  unconvertible_name,
  // An entry whose name holds "\" (possible on POSIX hosts only): path names
  // the directory that lists it, entry the entry. It is skipped, and a
  // folder is not entered.
  backslash_name,
  // No entries are left.
  end,
};

// One listed directory on the walk's stack.
struct walk_level {
  // The directory's listing.
  std::vector<directory_entry> entries;
  // The index of the entry that the walk yields next from this directory.
  std::size_t next = 0;
  // The length of the directory's path, to which the walk cuts the path back.
  std::size_t directory_length = 0;
};

// The state of one walk. Read path, entry and error after each step.
struct tree_walk {
  // The entry path of the current step: the directory's path, "\", the name.
  wide_path path;
  // The current entry as listed; null unless the step was walk_event::entry.
  const directory_entry* entry = nullptr;
  // The platform's error code of an unreadable directory or an unconvertible name.
  int error = 0;
  // Listed directories, outermost first; levels past depth are kept for reuse.
  std::vector<walk_level> levels;
  // How many levels the walk is in; 0 when it has ended.
  std::size_t depth = 0;
  // The entry yielded last is a directory that the next step enters.
  bool enter_next = false;
};

// Lists the root and readies the walk; returns the platform's error code (0 on success).
int start_walk(tree_walk& walk, const wide_path& root);

// Advances the walk by one step: enters the directory yielded last, or moves to the next entry.
walk_event next_walk_event(tree_walk& walk);

}  // namespace addfolder
