#include "source_tree.h"

#include <algorithm>
#include <utility>

#include "file_extension.h"
#include "file_system.h"
#include "relative_form.h"
#include "text_conversion.h"
#include "tree_walk.h"

namespace addfolder {
namespace {

constexpr size_t no_record = static_cast<size_t>(-1);

// One walk in progress. The walk's levels are mirrored by depth: the forms
// of each listed folder, its record, made when the folder turns out to hold
// something, and the record's index, or no_record.
struct scan_state {
  explicit scan_state(scan_problem_list& problems) : problems(problems) {}
  source_tree tree;
  scan_problem_list& problems;
  std::vector<folder_forms> forms;
  std::vector<source_folder> open_folders;
  std::vector<size_t> records;
  size_t record_count = 0;
  // The levels below this one hold no record.
  size_t open_levels = 0;
  // What the user leaves out.
  const exclusion_rules* exclusions = nullptr;
  walk_options options;
  // How far the walk has come, for the observer.
  size_t files = 0;
  size_t folders = 0;
  size_t entries_since_told = 0;
};

void report(scan_state& state, scan_problem problem) { state.problems.push_back(std::move(problem)); }

void report_failed_call(scan_state& state, int code, const char* operation, const wide_path& path) {
  report(state, scan_problem{scan_problem_kind::failed_call, path, operation, {}, code});
}

// The record of the folder that lists the walk's current entry.
source_folder& current_folder(scan_state& state, const tree_walk& walk) {
  const size_t level = walk.depth - 1;
  source_folder& folder = state.open_folders[level];
  if (state.records[level] == no_record) {
    state.records[level] = state.record_count++;
    state.open_levels = std::max(state.open_levels, level + 1);
    folder = source_folder{};
    folder.path = parent_path(walk.path);
    folder.relative = state.forms[level].relative;
    folder.root = state.forms[level].root;
  }
  return folder;
}

// Hands on the records of the levels from level on, which the walk has left:
// to the receiver, or to their places in the result.
void finish_levels(scan_state& state, size_t level) {
  for (; state.open_levels > level; --state.open_levels) {
    const size_t i = state.open_levels - 1;
    if (state.records[i] == no_record) continue;
    const size_t index = std::exchange(state.records[i], no_record);
    if (state.options.receiver != nullptr) {
      state.options.receiver->take_folder(std::move(state.open_folders[i]), index);
      continue;
    }
    if (state.tree.folders.size() <= index) state.tree.folders.resize(index + 1);
    state.tree.folders[index] = std::move(state.open_folders[i]);
  }
}

// Whether the entry is a regular file, links followed. The listing answers
// for plain files and directories; links and unknown kinds need the status
// query; an entry whose status cannot be read is reported and counts as no
// file. A dangling link is no file.
bool is_regular_file(scan_state& state, const tree_walk& walk) {
  const directory_entry& entry = *walk.entry;
  if (entry.is_regular) return true;
  if (entry.is_directory) return false;
  file_kind kind = file_kind::not_found;
  if (const int error = query_status(walk.path, kind); error != 0) {
    report(state, scan_problem{scan_problem_kind::failed_call, walk.path, "status", {}, error, false, true});
    return false;
  }
  return kind == file_kind::regular;
}

// Tells the observer how far the walk has come before each folder that the
// walk enters, and every few dozen entries; false when it asks the walk to stop.
bool keep_walking(scan_state& state, const tree_walk& walk) {
  constexpr size_t entries_between_reports = 64;
  if (state.options.observer == nullptr) return true;
  const bool entering = walk.entering != nullptr;
  if (++state.entries_since_told < entries_between_reports && !entering) return true;
  state.entries_since_told = 0;
  return state.options.observer->keep_walking(state.files, state.folders);
}

void visit_entry(scan_state& state, tree_walk& walk) {
  const directory_entry& entry = *walk.entry;
  ++(entry.is_directory ? state.folders : state.files);
  if (entry.is_directory) {
    // The folder that the next step enters, if it can be listed.
    if (state.forms.size() <= walk.depth) {
      state.forms.resize(walk.depth + 1);
      state.open_folders.resize(walk.depth + 1);
      state.records.resize(walk.depth + 1, no_record);
    }
    derive_subfolder_forms(state.forms[walk.depth - 1], walk.name, state.tree.roots, state.forms[walk.depth]);
    state.records[walk.depth] = no_record;
  }
  const wide_view extension = name_extension(walk.name);
  if (is_source_extension(extension)) {
    source_folder& folder = current_folder(state, walk);
    if (entry.is_link) {
      const folder_forms target = resolve_folder_forms(walk.path, state.tree.roots);
      add_source_entry(folder, walk.name, true, &target.relative, target.root);
    } else if (entry.is_directory) {
      add_source_entry(folder, walk.name, false, &state.forms[walk.depth].relative, state.forms[walk.depth].root);
    } else {
      add_source_entry(folder, walk.name, false);
    }
  }
  if (is_header_extension(extension) && is_regular_file(state, walk)) {
    current_folder(state, walk).holds_header = true;
  }
}

void walk_tree(scan_state& state, const wide_path& scan_root) {
  // An empty root names no folder (none chosen, or another drive).
  if (scan_root.empty()) return;
  file_kind kind = file_kind::not_found;
  if (const int error = query_status(scan_root, kind); error != 0) {
    report_failed_call(state, error, "exists", scan_root);
    return;
  }
  if (kind != file_kind::directory) return;

  tree_walk walk;
  if (const int error = start_walk(walk, scan_root, *state.exclusions, state.options.jobs); error != 0) {
    report_failed_call(state, error, "recursive_directory_iterator::recursive_directory_iterator", scan_root);
    return;
  }
  state.forms.assign(1, resolve_folder_forms(scan_root, state.tree.roots));
  state.tree.root_forms = state.forms[0];
  state.open_folders.resize(1);
  state.records.assign(1, no_record);
  while (true) {
    if (!keep_walking(state, walk)) {
      state.tree.stopped = true;
      finish_levels(state, 0);
      return;
    }
    const walk_event event = next_walk_event(walk);
    // Every event lies in the folder of level depth - 1, so the walk has left the levels below it.
    finish_levels(state, walk.depth);
    switch (event) {
      case walk_event::entry:
        visit_entry(state, walk);
        break;
      case walk_event::unreadable_directory:
      case walk_event::unconvertible_name:
        // Left out with its line; the rest of the tree is still walked.
        report(state, scan_problem{scan_problem_kind::unreadable_folder, walk.path, {}, {}, walk.error});
        break;
      case walk_event::backslash_name:
        // No error of either search, so one line for the run.
        report(state,
               scan_problem{scan_problem_kind::backslash_name, walk.path, {}, wide_path(walk.name), 0, true, false});
        break;
      case walk_event::end:
        return;
    }
  }
}

}  // namespace

void add_source_entry(source_folder& folder, wide_view name, bool is_link, const wide_path* own_relative,
                      std::uint32_t own_root) {
  source_entry entry;
  entry.name_start = static_cast<std::uint32_t>(folder.names.size());
  entry.unconvertible_name = !append_narrow(folder.names, name);
  entry.name_length = static_cast<std::uint32_t>(folder.names.size() - entry.name_start);
  entry.is_link = is_link;
  if (own_relative != nullptr) {
    entry.own_relative = static_cast<std::uint32_t>(folder.own_relatives.size());
    entry.own_root = own_root;
    folder.own_relatives.push_back(*own_relative);
  }
  folder.sources.push_back(entry);
}

source_tree scan_source_tree(const wide_path& scan_root, const text_roots& roots,
                             const exclusion_rules& exclusions, scan_problem_list& problems,
                             const walk_options& options) {
  scan_state state(problems);
  state.exclusions = &exclusions;
  state.options = options;
  state.tree.root = scan_root;
  state.tree.roots = roots;
  walk_tree(state, scan_root);
  return std::move(state.tree);
}

}  // namespace addfolder
