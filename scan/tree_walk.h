// The depth-first walk below a directory, one step at a time.
//
// The walk holds its directories on a stack of its own, so the depth of a
// tree never touches the call stack. It yields entries pre-order, each
// directory's in listing order. A directory is entered when its listing says
// so; symbolic links and junctions are yielded but never entered. What the
// exclusion patterns match is neither yielded nor entered. With more than one
// job, helper threads list the directories ahead of the walk; the steps are
// the same for any number of jobs.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "exclusion_rules.h"
#include "file_system.h"
#include "folder_lister.h"
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
  // The directory as listed.
  std::unique_ptr<listed_folder> folder;
  // The index of the entry that the walk yields next from this directory.
  std::size_t next = 0;
  // The index of the subfolder that the walk enters next.
  std::size_t next_subfolder = 0;
};

// The state of one walk. Read path, entry and error after each step.
struct tree_walk {
  // The entry path of the current step: the directory's path, "\", the name.
  wide_path path;
  // The current entry as listed, and its name; null unless the step was
  // walk_event::entry or walk_event::backslash_name.
  const directory_entry* entry = nullptr;
  wide_view name;
  // The platform's error code of an unreadable directory or an unconvertible name.
  int error = 0;
  // Listed directories, outermost first.
  std::vector<walk_level> levels;
  // How many levels the walk is in; 0 when it has ended.
  std::size_t depth = 0;
  // The directory that the next step enters, taken from the entry yielded last.
  std::unique_ptr<listed_folder> entering;
  // Declared last, so that its threads stop before the folders they list go.
  std::unique_ptr<folder_lister> lister;
};

// Lists the root and readies the walk; returns the platform's error code (0
// on success). The rules must outlive the walk; jobs is the number of
// threads that list directories, the caller's included.
int start_walk(tree_walk& walk, const wide_path& root, const exclusion_rules& rules, unsigned jobs = 1);

// The same without exclusions, on the caller's thread alone.
int start_walk(tree_walk& walk, const wide_path& root);

// Advances the walk by one step: enters the directory yielded last, or moves to the next entry.
walk_event next_walk_event(tree_walk& walk);

}  // namespace addfolder
