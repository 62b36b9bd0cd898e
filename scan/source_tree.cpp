#include "source_tree.h"

#include "file_extension.h"
#include "file_system.h"
#include "relative_form.h"
#include "tree_walk.h"

namespace addfolder {
namespace {

constexpr size_t no_record = static_cast<size_t>(-1);

// One walk in progress. The walk's levels are mirrored by depth: the forms
// of each listed folder and the index of its record, made when the folder
// turns out to hold something.
struct scan_state {
  explicit scan_state(scan_problem_list& problems) : problems(problems) {}
  source_tree tree;
  scan_problem_list& problems;
  // The weakly canonical form of the directory that relative forms lead from.
  wide_path working_directory;
  std::vector<folder_forms> forms;
  std::vector<size_t> records;
  // What the user leaves out, and for each level the patterns that may
  // still match below it.
  const exclusion_rules* exclusions = nullptr;
  std::vector<exclusion_state> exclusion_states;
};

void report(scan_state& state, scan_problem problem) { state.problems.push_back(std::move(problem)); }

void report_failed_call(scan_state& state, int code, const char* operation, const wide_path& path) {
  report(state, scan_problem{scan_problem_kind::failed_call, path, operation, {}, code});
}

// The record of the folder that lists the walk's current entry.
source_folder& current_folder(scan_state& state, const tree_walk& walk) {
  const size_t level = walk.depth - 1;
  size_t& record = state.records[level];
  if (record == no_record) {
    record = state.tree.folders.size();
    source_folder& folder = state.tree.folders.emplace_back();
    folder.path = parent_path(walk.path);
    folder.relative = state.forms[level].relative;
  }
  return state.tree.folders[record];
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

// Whether the user leaves the entry out; for a folder that is not, readies
// the patterns for its entries.
bool is_left_out(scan_state& state, const tree_walk& walk) {
  if (is_empty(*state.exclusions)) return false;
  const directory_entry& entry = *walk.entry;
  if (state.exclusion_states.size() <= walk.depth) state.exclusion_states.resize(walk.depth + 1);
  return is_excluded(*state.exclusions, state.exclusion_states[walk.depth - 1], entry.name, entry.is_directory,
                     entry.is_directory ? &state.exclusion_states[walk.depth] : nullptr);
}

void visit_entry(scan_state& state, tree_walk& walk) {
  const directory_entry& entry = *walk.entry;
  if (is_left_out(state, walk)) {
    // An excluded folder is not entered: nothing below it is listed or reported.
    walk.enter_next = false;
    return;
  }
  if (entry.is_directory) {
    // The folder that the next step enters, if it can be listed.
    if (state.forms.size() <= walk.depth) {
      state.forms.resize(walk.depth + 1);
      state.records.resize(walk.depth + 1);
    }
    derive_subfolder_forms(state.forms[walk.depth - 1], entry.name, state.working_directory,
                           state.forms[walk.depth]);
    state.records[walk.depth] = no_record;
  }
  const wide_view extension = path_extension(entry.name);
  if (is_source_extension(extension)) {
    source_entry source{entry.name, entry.is_link, std::nullopt};
    if (entry.is_link) {
      source.own_relative = resolved_relative_form(walk.path, state.working_directory);
    } else if (entry.is_directory) {
      source.own_relative = state.forms[walk.depth].relative;
    }
    current_folder(state, walk).sources.push_back(std::move(source));
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
  if (const int error = start_walk(walk, scan_root); error != 0) {
    report_failed_call(state, error, "recursive_directory_iterator::recursive_directory_iterator", scan_root);
    return;
  }
  state.forms.assign(1, resolve_folder_forms(scan_root, state.working_directory));
  state.records.assign(1, no_record);
  state.exclusion_states.assign(1, root_exclusion_state(*state.exclusions));
  while (true) {
    switch (next_walk_event(walk)) {
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
        report(state, scan_problem{scan_problem_kind::backslash_name, walk.path, {}, walk.entry->name, 0, true, false});
        break;
      case walk_event::end:
        return;
    }
  }
}

}  // namespace

source_tree scan_source_tree(const wide_path& scan_root, const wide_path& base_directory,
                             const exclusion_rules& exclusions, scan_problem_list& problems) {
  scan_state state(problems);
  state.exclusions = &exclusions;
  state.working_directory = base_directory;
  walk_tree(state, scan_root);
  return std::move(state.tree);
}

}  // namespace addfolder
