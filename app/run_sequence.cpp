#include "run_sequence.h"

#include <new>

#include "failure_message.h"
#include "connection_plan.h"
#include "file_names.h"
#include "folder_scope.h"
#include "folder_choice.h"
#include "messages.h"
#include "project_update.h"
#include "relative_form.h"
#include "source_tree.h"
#include "system_error.h"
#include "text_conversion.h"
#include "text_roots.h"

namespace addfolder {
namespace {

std::u16string other_drive_message(const wide_path& folder) {
  return std::u16string(other_drive_intro) + folder + std::u16string(other_drive_detail);
}

// Whether a walk went past part of its folder: then what seems gone may only
// have been out of reach, and nothing is pruned.
bool walk_was_incomplete(const scan_problem_list& problems, size_t first) {
  for (size_t i = first; i < problems.size(); ++i) {
    if (problems[i].kind != scan_problem_kind::backslash_name) return true;
  }
  return false;
}

// The roots of the run's texts: the project directory, then the bases, each
// made absolute and weakly canonical.
text_roots roots_of(const wide_path& project_directory, const std::vector<base_definition>& bases) {
  text_roots roots = project_roots(project_directory);
  for (const base_definition& base : bases) {
    roots.push_back({variable_macro(to_narrow(base.name)), weakly_canonical(absolute_form(base.directory))});
  }
  return roots;
}

// Tells the run's observer how far all walks of the run have come together,
// not each walk from nought.
class run_progress : public walk_observer {
 public:
  explicit run_progress(walk_observer* run) : run_(run) {}
  bool keep_walking(std::size_t files, std::size_t folders) override {
    walk_files_ = files;
    walk_folders_ = folders;
    return run_->keep_walking(files_ + files, folders_ + folders);
  }
  // The walk has ended; the next one counts on from it.
  void next_walk() {
    files_ += std::exchange(walk_files_, 0);
    folders_ += std::exchange(walk_folders_, 0);
  }

 private:
  walk_observer* run_;
  std::size_t files_ = 0, folders_ = 0, walk_files_ = 0, walk_folders_ = 0;
};

// What the run makes of one folder: what lies within it, named from the
// run's roots, and, unless it only takes the folder out, the entries that its
// walk gives. A failure or a stop ends the run with nothing written.
run_outcome plan_folder(const folder_settings& folder, const text_roots& roots, const run_settings& settings,
                        run_progress* progress, scan_problem_list& problems, run_outcome& outcome,
                        folder_plan& plan) {
  const folder_forms forms = resolve_folder_forms(folder.path, roots);
  if (forms.relative.empty()) return failure(exit_failure, other_drive_message(folder.path));
  plan.folder = scope_of_folder(forms, roots);
  if (folder.remove) {
    // The folder may have been added in either layout: the prune of a tree
    // reaches whatever lies within it at any depth.
    plan.entries.layout = group_layout::tree;
    plan.prune = true;
    return {};
  }
  // The walk finds the folder from the working directory.
  wide_path scan_root = relative_form(folder.path);
  if (scan_root.empty()) scan_root = folder.path;
  const size_t first_problem = problems.size();
  {
    // Each folder turns into its texts as soon as the walk has left it.
    connection_planner planner(roots, folder.groups);
    const source_tree tree = scan_source_tree(scan_root, roots, folder.exclusions, problems,
                                              walk_options{settings.jobs, progress, &planner});
    if (tree.stopped) return stopped_run(settings);
    plan.entries = planner.finish(tree);
  }
  if (progress != nullptr) progress->next_walk();
  const bool incomplete = walk_was_incomplete(problems, first_problem);
  outcome.walk_incomplete = outcome.walk_incomplete || incomplete;
  outcome.prune_skipped = outcome.prune_skipped || (folder.prune && incomplete);
  plan.prune = folder.prune && !incomplete;
  return {};
}

// The two files by their full paths, which their messages name; full_directory
// is the project directory made absolute, project_directory its canonical form.
project_files files_of(const command_arguments& arguments, const wide_path& full_directory,
                       const wide_path& project_directory) {
  project_files files{project_file_name(full_directory, arguments.project_name, u".ewp"),
                      project_file_name(full_directory, arguments.project_name, u".ipcf"),
                      connection_reference(to_narrow(arguments.project_name)), {}};
  files.names.project_directory = project_directory;
  files.names.file_name = arguments.project_name + u".ipcf";
  return files;
}

}  // namespace

run_outcome run_sequence(const command_arguments& arguments, const std::vector<folder_settings>& folders,
                         const run_settings& settings, scan_problem_list& scan_problems) {
  try {
    // Every relative form leads from the project directory.
    const wide_path full_directory = absolute_form(arguments.project_directory);
    const wide_path project_directory = weakly_canonical(full_directory);
    const text_roots roots = roots_of(project_directory, settings.bases);

    // The connection file is read while the folders are walked.
    document_preload preload(project_file_name(full_directory, arguments.project_name, u".ipcf"));

    // Every text is made before a file is touched: a path that cannot be
    // resolved or named stops the run with the project as it was.
    run_progress progress(settings.observer);
    run_progress* observed = settings.observer != nullptr ? &progress : nullptr;
    run_outcome outcome;
    std::vector<folder_plan> plans(folders.size());
    for (size_t i = 0; i < folders.size(); ++i) {
      run_outcome planned =
          plan_folder(folders[i], roots, settings, observed, scan_problems, outcome, plans[i]);
      if (planned.failed() || planned.stopped) return planned;
    }
    if (settings.check && outcome.walk_incomplete) outcome.exit_code = exit_out_of_sync;
    project_files files = files_of(arguments, full_directory, project_directory);
    files.connection_preload = &preload;
    return update_project(files, plans, settings, outcome);
  } catch (const system_error& error) {
    return failure(exit_failure, failure_message(error));
  } catch (const std::bad_alloc&) {
    return failure(exit_failure, out_of_memory);
  }
}

}  // namespace addfolder
