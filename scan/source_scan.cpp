#include "scan/source_scan.h"

#include <initializer_list>
#include <string>

#include "scan/file_extension.h"
#include "scan/file_system.h"
#include "scan/scan_error_lines.h"
#include "scan/system_error.h"
#include "scan/tree_walk.h"

namespace addfolder {
namespace {

// The two scans that share one walk. Each keeps its own error lines, so that
// one walk writes what the two scans would write one after the other.
struct scan_state {
  bool collect_sources = false;
  bool collect_headers = false;
  scan_results results;
  // For each level of the walk, whether its directory is in the header list
  // already: a directory's entries are walked in one go, so a flag per level
  // spares a lookup per header.
  std::vector<bool> header_directory_listed;
  std::string source_errors;
  std::string header_errors;
};

bool scanning(const scan_state& state) { return state.collect_sources || state.collect_headers; }

// An error that each running scan reports as its own line.
void report_exception(scan_state& state, const system_error& error) {
  if (state.collect_sources) append_exception_line(state.source_errors, error);
  if (state.collect_headers) append_exception_line(state.header_errors, error);
}

void report_access_error(scan_state& state, const wide_path& path, int code) {
  if (state.collect_sources) append_access_error_line(state.source_errors, path, code);
  if (state.collect_headers) append_access_error_line(state.header_errors, path, code);
}

// Whether the entry is a regular file, links followed. The listing answers
// for plain files and directories; links and unknown kinds need the status
// query, whose failure ends the header scan. A dangling link is no file.
bool is_regular_file(scan_state& state, const tree_walk& walk) {
  const directory_entry& entry = *walk.entry;
  if (entry.is_regular) return true;
  if (entry.is_directory) return false;
  file_kind kind = file_kind::not_found;
  if (const int error = query_status(walk.path, kind); error != 0) {
    append_exception_line(state.header_errors, system_error(error, "status", walk.path));
    state.collect_headers = false;
    return false;
  }
  return kind == file_kind::regular;
}

void visit_entry(scan_state& state, const tree_walk& walk) {
  std::vector<bool>& listed = state.header_directory_listed;
  if (listed.size() <= walk.depth) listed.resize(walk.depth + 1);
  // A directory entered next starts with its own flag.
  if (walk.entry->is_directory) listed[walk.depth] = false;
  const wide_view extension = path_extension(walk.entry->name);
  if (state.collect_sources && is_source_extension(extension)) {
    state.results.sources.push_back(source_file{wide_path(rootless_form(walk.path)), walk.entry->is_link});
  }
  if (state.collect_headers && is_header_extension(extension) && is_regular_file(state, walk)) {
    if (listed[walk.depth - 1]) return;
    const wide_view directory = parent_path(rootless_form(walk.path));
    state.results.headers.emplace(directory);
    listed[walk.depth - 1] = true;
  }
}

void walk_tree(scan_state& state, const wide_path& scan_root) {
  // An empty root names no folder (none chosen, or another drive).
  if (scan_root.empty()) return;
  file_kind kind = file_kind::not_found;
  if (const int error = query_status(scan_root, kind); error != 0) {
    report_exception(state, system_error(error, "exists", scan_root));
    return;
  }
  if (kind != file_kind::directory) return;

  tree_walk walk;
  if (const int error = start_walk(walk, scan_root); error != 0) {
    report_exception(state, system_error(error, "recursive_directory_iterator::recursive_directory_iterator", scan_root));
    return;
  }
  while (scanning(state)) {
    switch (next_walk_event(walk)) {
      case walk_event::entry:
        visit_entry(state, walk);
        break;
      case walk_event::backslash_name:
        // One line for the run, not one per scan: the source scan's.
        if (state.collect_sources) append_backslash_name_line(state.source_errors, walk.path, walk.entry->name);
        break;
      case walk_event::unreadable_directory:
      case walk_event::unconvertible_name:
        // Skipped with its line; the rest of the tree is still scanned.
        report_access_error(state, walk.path, walk.error);
        break;
      case walk_event::end:
        return;
    }
  }
}

// The source scan's lines first, then the header scan's, as if they ran one after the other.
void write_error_lines(std::ostream& errors, const scan_state& state) {
  for (const std::string* lines : {&state.source_errors, &state.header_errors}) {
    if (!lines->empty()) errors.write(lines->data(), static_cast<std::streamsize>(lines->size()));
  }
}

scan_results run_scans(const wide_path& scan_root, bool sources, bool headers, std::ostream& errors) {
  scan_state state;
  state.collect_sources = sources;
  state.collect_headers = headers;
  state.header_directory_listed.assign(1, false);
  try {
    walk_tree(state, scan_root);
  } catch (...) {
    // Memory exhaustion reaches the caller, but the lines collected so far still count.
    write_error_lines(errors, state);
    throw;
  }
  write_error_lines(errors, state);
  return std::move(state.results);
}

}  // namespace

source_file_list scan_source_files(const wide_path& scan_root, std::ostream& errors) {
  return run_scans(scan_root, true, false, errors).sources;
}

header_directory_list scan_header_directories(const wide_path& scan_root, std::ostream& errors) {
  return run_scans(scan_root, false, true, errors).headers;
}

scan_results scan_tree(const wide_path& scan_root, std::ostream& errors) {
  return run_scans(scan_root, true, true, errors);
}

}  // namespace addfolder
