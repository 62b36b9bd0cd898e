// What a run changes in the two documents: always counted, and listed one
// by one where a report needs every change.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace addfolder {

// Where a change takes place.
enum class change_place { project, include_path, asm_include_path, files, group };

// One element added or removed: a path (or the project file's reference),
// or a group itself, whose text is then empty.
struct document_change {
  bool added = true;
  change_place place = change_place::files;
  // The name of the group that holds the path, or of the group itself.
  std::string group;
  std::string text;
};

// The counts of a run's changes.
struct change_counts {
  // The project file gained the reference to the connection file.
  bool reference_added = false;
  size_t added_files = 0;
  // The groups that received files, new ones among them.
  size_t groups_with_added_files = 0;
  size_t added_groups = 0;
  // Include directories count once, whether one or both include sections changed.
  size_t added_include_directories = 0;
  size_t removed_files = 0;
  size_t groups_with_removed_files = 0;
  size_t removed_groups = 0;
  size_t removed_include_directories = 0;
};

// The changes of one run.
struct change_log {
  // Whether every change is listed in changes; otherwise only counted.
  bool lists_changes = false;
  std::vector<document_change> changes;
  change_counts counts;
};

// True when the connection file changes.
bool changes_connection_file(const change_counts& counts);

// Notes one change in the list, when the log keeps one.
void note_change(change_log& log, bool added, change_place place, std::string_view group, std::string_view text);

}  // namespace addfolder
