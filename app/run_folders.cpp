#include "run_folders.h"

#include <algorithm>
#include <new>
#include <string>

#include "exclusion_input.h"
#include "failure_message.h"
#include "file_names.h"
#include "folder_choice.h"
#include "messages.h"
#include "relative_form.h"
#include "system_error.h"
#include "text_conversion.h"
#include "text_roots.h"

namespace addfolder {
namespace {

// The project's sync file, as a run has read it.
struct project_sync_file {
  // By its full path, and as messages name it.
  wide_path path;
  wide_text shown_name;
  bool exists = false;
  sync_file parsed;
};

// Where the run's paths lead from: the project directory made absolute, and
// its weakly canonical form.
struct project_place {
  wide_path full_directory;
  wide_path canonical;
};

// A path that the sync file names: relative to the project directory,
// unless it has a root.
wide_path from_project_directory(const project_place& project, const wide_path& path) {
  if (!root_name(path).empty() || !root_directory(path).empty()) return lexically_normal(path);
  wide_path full = project.full_directory;
  append_element(full, path);
  return lexically_normal(full);
}

// The path, taken against the working directory, as the sync file names it:
// relative to the project directory with "/" between names, which every host
// reads; the full path where there is no relative form.
wide_path as_sync_file_names(const project_place& project, const wide_path& path) {
  const wide_path full = absolute_form(path);
  wide_path relative = lexically_relative(weakly_canonical(full), project.canonical);
  if (relative.empty()) relative = full;
  std::replace(relative.begin(), relative.end(), u'\\', u'/');
  return relative;
}

run_outcome read_project_sync_file(const command_line& line, const project_place& project,
                                   project_sync_file& sync) {
  sync.shown_name = line.arguments.project_name + wide_text(sync_file_extension);
  sync.path = project_file_name(project.full_directory, line.arguments.project_name, sync_file_extension);
  if (!line.sync && !line.save && line.remove_folders.empty()) return {};
  if (run_outcome read = read_sync_file(sync.path, sync.shown_name, sync.parsed, sync.exists); read.failed()) {
    return read;
  }
  if (line.sync && !sync.exists) {
    return failure(exit_command_line_error,
                   wide_text(no_sync_file_intro) + sync.shown_name + wide_text(no_sync_file_detail));
  }
  return {};
}

// A folder that the sync file names on line and that is not there.
run_outcome missing_folder(const wide_path& written, const project_sync_file& sync, std::uint32_t line) {
  return failure(exit_command_line_error, wide_text(not_a_folder) + written + wide_text(sync_folder_missing_intro) +
                                              sync.shown_name + wide_text(sync_folder_missing_middle) +
                                              shown_wide(std::to_string(line)) + wide_text(sync_folder_missing_detail));
}

// Each folder of the sync file, with its own patterns and the command line's.
run_outcome add_sync_file_folders(const command_line& line, const project_place& project,
                                  const project_sync_file& sync, const std::vector<wide_text>& command_patterns,
                                  std::vector<folder_settings>& folders) {
  for (const sync_folder& table : sync.parsed.folders) {
    folder_settings folder;
    folder.path = from_project_directory(project, table.path);
    if (!typed_folder(folder.path)) return missing_folder(table.path, sync, table.line);
    std::vector<wide_text> patterns = sync.parsed.exclude;
    patterns.insert(patterns.end(), table.exclude.begin(), table.exclude.end());
    if (!table.exclude_from.empty()) {
      const wide_path file = from_project_directory(project, table.exclude_from);
      if (run_outcome read = read_exclusion_file(file, table.exclude_from, patterns); read.failed()) return read;
    }
    patterns.insert(patterns.end(), command_patterns.begin(), command_patterns.end());
    if (run_outcome added = add_patterns(patterns, folder.exclusions); added.failed()) return added;
    folder.prune = table.prune || line.prune;
    folder.groups = line.groups.value_or(table.groups.value_or(sync.parsed.groups.value_or(group_layout::flat)));
    folders.push_back(std::move(folder));
  }
  return {};
}

// The folders that the command line names, or the one that the user chooses.
run_outcome add_typed_folders(const command_line& line, const std::function<folder_answer(const wide_path&)>& ask,
                              run_request& request, std::vector<wide_path>& typed) {
  for (const wide_path& folder : line.folders) {
    std::optional<wide_path> full = typed_folder(folder);
    if (!full) return failure(exit_command_line_error, wide_text(not_a_folder) + folder);
    typed.push_back(std::move(*full));
  }
  // Only taking folders out needs no folder to add, unless the run records one.
  if (typed.empty() && (line.remove_folders.empty() || line.save)) {
    folder_answer answer = ask(line.arguments.project_directory);
    if (!answer.folder) {
      request.cancelled = !answer.outcome.failed();
      return answer.outcome;
    }
    typed.push_back(std::move(*answer.folder));
  }
  return {};
}

// The tables that --save appends: each folder with the command line's patterns.
run_outcome make_tables(const command_line& line, const project_place& project, const project_sync_file& sync,
                        const std::vector<wide_path>& typed, sync_file_addition& save) {
  save.file = sync.path;
  save.shown_name = sync.shown_name;
  // The file as it will be, so that a folder given twice is found too.
  sync_file recorded = sync.parsed;
  for (const wide_path& folder : typed) {
    sync_folder table;
    table.path = as_sync_file_names(project, folder);
    table.exclude = line.exclude_patterns;
    if (!line.exclude_files.empty()) table.exclude_from = as_sync_file_names(project, line.exclude_files.front());
    table.prune = line.prune;
    table.groups = line.groups;
    if (find_sync_folder(recorded, table.path)) {
      return failure(exit_command_line_error, table.path + wide_text(sync_folder_saved_intro) + save.shown_name +
                                                  wide_text(sync_folder_saved_detail));
    }
    recorded.folders.push_back(table);
    save.folders.push_back(std::move(table));
  }
  return {};
}

// The folders to take out, and a note for each that the sync file still names.
void add_removed_folders(const command_line& line, const project_place& project, const project_sync_file& sync,
                         run_request& request) {
  for (const wide_path& removed : line.remove_folders) {
    folder_settings folder;
    folder.path = absolute_form(removed);
    folder.remove = true;
    request.folders.push_back(std::move(folder));
    if (const sync_folder* table = find_sync_folder(sync.parsed, as_sync_file_names(project, removed))) {
      request.notes.push_back(table->path + wide_text(removed_folder_kept_intro) + sync.shown_name +
                              wide_text(removed_folder_kept_detail));
    }
  }
}

// A base that the sync file records: a DIR typed with a root as it is, any
// other relative to the project directory, with "/" between names.
wide_path as_sync_file_base(const project_place& project, const wide_path& typed) {
  if (root_name(typed).empty() && root_directory(typed).empty()) return as_sync_file_names(project, typed);
  wide_path full = lexically_normal(typed);
  std::replace(full.begin(), full.end(), u'\\', u'/');
  return full;
}

bool is_same_folder(const wide_path& left, const wide_path& right) {
  const wide_path a = weakly_canonical(absolute_form(left));
  const wide_path b = weakly_canonical(absolute_form(right));
  return lies_at_or_below(a, b) && lies_at_or_below(b, a);
}

// The run's bases, each an existing folder: the sync file's, then the
// command line's. A NAME that both give must name one folder; with --save,
// each base that the file lacks is recorded.
run_outcome add_bases(const command_line& line, const project_place& project, const project_sync_file& sync,
                      run_request& request) {
  for (const sync_base& entry : sync.parsed.bases) {
    wide_path directory = from_project_directory(project, entry.base.directory);
    if (!typed_folder(directory)) return missing_folder(entry.base.directory, sync, entry.line);
    request.bases.push_back({entry.base.name, std::move(directory)});
  }
  const size_t recorded = request.bases.size();
  for (const base_definition& base : line.bases) {
    std::optional<wide_path> directory = typed_folder(base.directory);
    if (!directory) return failure(exit_command_line_error, wide_text(not_a_folder) + base.directory);
    const auto known = std::find_if(request.bases.begin(), request.bases.begin() + recorded,
                                    [&](const base_definition& b) { return same_variable_name(b.name, base.name); });
    if (known == request.bases.begin() + recorded) {
      request.bases.push_back({base.name, *directory});
      if (line.save) request.save.bases.push_back({base.name, as_sync_file_base(project, base.directory)});
    } else if (!is_same_folder(known->directory, *directory)) {
      return failure(exit_command_line_error,
                     line.save ? base.name + wide_text(sync_folder_saved_intro) + sync.shown_name +
                                     wide_text(sync_folder_saved_detail)
                               : wide_text(argument_variable_twice_intro) + base.name +
                                     wide_text(argument_variable_twice_detail));
    }
  }
  return {};
}

run_outcome make_request(const command_line& line, const std::function<folder_answer(const wide_path&)>& ask,
                         run_request& request) {
  project_place project;
  project.full_directory = absolute_form(line.arguments.project_directory);
  project.canonical = weakly_canonical(project.full_directory);
  std::vector<wide_text> command_patterns;
  exclusion_rules rules;
  if (run_outcome read = read_command_line_patterns(line, command_patterns); read.failed()) return read;
  if (run_outcome added = add_patterns(command_patterns, rules); added.failed()) return added;
  project_sync_file sync;
  if (run_outcome read = read_project_sync_file(line, project, sync); read.failed()) return read;

  if (run_outcome added = add_bases(line, project, sync, request); added.failed()) return added;
  add_removed_folders(line, project, sync, request);
  if (line.sync) return add_sync_file_folders(line, project, sync, command_patterns, request.folders);
  std::vector<wide_path> typed;
  if (run_outcome added = add_typed_folders(line, ask, request, typed); added.failed() || request.cancelled) {
    return added;
  }
  if (line.save) {
    if (run_outcome made = make_tables(line, project, sync, typed, request.save); made.failed()) return made;
    // A recorded folder is walked as the next --sync will walk it.
    command_patterns.insert(command_patterns.begin(), sync.parsed.exclude.begin(), sync.parsed.exclude.end());
    rules = exclusion_rules{};
    if (run_outcome added = add_patterns(command_patterns, rules); added.failed()) return added;
  }
  // A recorded folder is grouped as the next --sync will group it.
  const group_layout groups = line.groups.value_or(line.save ? sync.parsed.groups.value_or(group_layout::flat)
                                                             : group_layout::flat);
  for (wide_path& path : typed) request.folders.push_back(folder_settings{std::move(path), rules, line.prune, groups});
  return {};
}

}  // namespace

run_outcome make_run_request(const command_line& line, const std::function<folder_answer(const wide_path&)>& ask,
                             run_request& request) {
  request = run_request{};
  try {
    return make_request(line, ask, request);
  } catch (const system_error& error) {
    return failure(exit_failure, failure_message(error));
  } catch (const std::bad_alloc&) {
    return failure(exit_failure, out_of_memory);
  }
}

}  // namespace addfolder
