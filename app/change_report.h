// How a run's changes read: the report of a dry run or check, and the
// summary line of a completed run.
#pragma once

#include <vector>

#include "change_log.h"
#include "wide_text.h"

namespace addfolder {

// One line per change: "+ " or "- ", the file, ": ", the section or group,
// ": " and the text; a group itself has no text. For example
//   + blinky.ipcf: group lib\hal: $PROJ_DIR$\lib\hal\spi.c
//   - blinky.ipcf: includePath: $PROJ_DIR$\lib\old
//   + blinky.ewp: project: $PROJ_DIR$\blinky.ipcf
std::vector<wide_text> change_report_lines(const change_log& log, wide_text_view project_file,
                                           wide_text_view connection_file);

// What a run changed in each file, in one line, for example
//   blinky.ipcf: added 7 files in 3 groups and 2 include directories, removed 1 file
wide_text change_summary_line(const change_counts& counts, wide_text_view project_file,
                              wide_text_view connection_file);

// The report's line for what --save records: "+ ", the sync file, ": ", what
// it is ("folder" or "base"), " " and the folder or base as the sync file names it.
wide_text saved_table_line(wide_text_view sync_file, wide_text_view kind, wide_text_view entry);

// What the summary line says of the sync file, after the rest:
//   ; blinky.addfolder.toml: added 2 folders
wide_text saved_folders_summary(wide_text_view sync_file, size_t folders);

// The first lines of a long text, and then how many more there are, for a
// window that lists problems.
std::vector<wide_text> lines_for_box(std::vector<wide_text> lines);

}  // namespace addfolder
