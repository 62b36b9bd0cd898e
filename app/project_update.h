// What a run does while it holds the project's lock: read the files once,
// make every folder's changes in memory, and write what changed.
#pragma once

#include <string>
#include <vector>

#include "connection_document.h"
#include "folder_scope.h"
#include "document_preload.h"
#include "project_link.h"
#include "run_sequence.h"

namespace addfolder {

// What a run makes of one folder before any file is read.
struct folder_plan {
  connection_entries entries;
  // What lies within the folder, for the prune.
  folder_scope folder;
  // Remove, within the folder, what the entries do not list.
  bool prune = false;
};

// The files of the project, by their full paths, which their messages name,
// and how the project file may name the connection file.
struct project_files {
  wide_path project;
  wide_path connection;
  std::string reference;
  connection_file_names names;
  // The connection file as read while the folders were walked; may be null.
  document_preload* connection_preload = nullptr;
};

// The end of a run that its observer stopped.
run_outcome stopped_run(const run_settings& settings);

// Takes the project's lock, then reads the project file and the connection
// file, fills the connection document from each plan in turn and prunes
// after each plan that asks for it, appends settings.save's tables to the
// sync file, and writes what changed: the sync file, the connection file,
// the project file. A dry run works out every change and writes nothing.
// outcome holds what the walks found; the changes are added to it.
run_outcome update_project(const project_files& files, const std::vector<folder_plan>& plans,
                           const run_settings& settings, run_outcome outcome);

}  // namespace addfolder
