// The sync file, PROJECT_NAME.addfolder.toml beside the project file: the
// folders that a project keeps in sync, each with its own exclusions.
//
//   exclude = ["*_template.c"]          # for every folder; optional
//   groups = "tree"                     # optional; "flat" when left out
//
//   [base]                              # optional
//   CUBE = "C:/ST/Repository/STM32Cube_FW_F0_V1.11.5"   # relative to the project directory or absolute
//
//   [[folder]]
//   path = "Drivers"                    # relative to the project directory
//   exclude = ["gcc/", "arm/"]          # optional
//   exclude_from = "drivers.exclude"    # optional; relative to the project directory
//   prune = true                        # optional; false when left out
//   groups = "flat"                     # optional; the top level's when left out
//
// The file is UTF-8 TOML, with or without a byte order mark. Any other key, a
// value of another type, a table without path, two tables naming the same
// folder and a pattern that names nothing are errors, so that a typo never
// silently does nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "argument_variable.h"
#include "connection_document.h"
#include "document_error.h"
#include "file_stamp.h"
#include "path.h"
#include "run_outcome.h"

namespace addfolder {

// One [[folder]] table.
struct sync_folder {
  // The folder as written: relative to the project directory, "/" or "\".
  wide_path path;
  // Its own exclusion patterns, in order.
  std::vector<wide_text> exclude;
  // A file of more patterns, as written; empty when there is none.
  wide_path exclude_from;
  // Also remove from the connection file what the folder no longer provides.
  bool prune = false;
  // The line of its path, for messages about the folder.
  std::uint32_t line = 0;
  // Its own layout of groups, when it names one.
  std::optional<group_layout> groups;
};

// One NAME = "DIR" of the [base] table.
struct sync_base {
  // DIR as written: relative to the project directory, or absolute.
  base_definition base;
  // The line of the key, for messages about the folder.
  std::uint32_t line = 0;
};

// What a sync file holds.
struct sync_file {
  // Patterns for every folder, in order.
  std::vector<wide_text> exclude;
  // The layout of groups for every folder that names none, when the file names one.
  std::optional<group_layout> groups;
  // The bases, in the file's order.
  std::vector<sync_base> bases;
  // Where the bases begin: the line of the [base] header (or of what else
  // makes the table); 0 when the file has none.
  std::uint32_t base_line = 0;
  // The folders, in the file's order.
  std::vector<sync_folder> folders;
};

// What is wrong with a sync file, and where.
struct sync_file_error {
  // The file as the message names it.
  wide_path file;
  // Where in the file, counted from 1; line 0 when the error has no place.
  std::uint32_t line = 0;
  std::uint32_t column = 0;
  // What is wrong, such as: unknown key "prun".
  wide_text message;
};

// The error as the user sees it: "FILE:LINE:COLUMN: MESSAGE", or the message
// alone when it has no place.
wide_text sync_file_error_text(const sync_file_error& error);

// Reads a sync file's bytes into parsed. False, with error naming file and the
// first problem in the text's order, when they are no valid sync file.
bool parse_sync_file(std::string_view bytes, wide_view file, sync_file& parsed, sync_file_error& error);

// The sync file's message: "The sync file ", its name, and the detail.
wide_text sync_file_message(wide_view shown_name, wide_view detail);

// Reads the bytes of the sync file at path into text, and its state as it
// was read into stamp. No file is no error: text is then empty and the
// stamp absent.
document_error read_sync_file_text(const wide_path& path, std::optional<std::string>& text, file_stamp& stamp);

// Reads the sync file at path into parsed; shown_name is how messages name
// it. No file is no failure here (exists is then false), since --save makes
// one. A failure with exit_command_line_error and the message for the user
// ("FILE:LINE:COLUMN: MESSAGE") for a file that cannot be read or is no valid
// sync file.
run_outcome read_sync_file(const wide_path& path, wide_view shown_name, sync_file& parsed, bool& exists);

// What makes two folder paths the same folder: "/" and "\" alike, dot names
// and "name\.." pairs gone, no trailing separator.
wide_path sync_folder_identity(wide_view path);

// The table of parsed that names the same folder as path, or null. Letter
// case counts as the host's file system counts it.
const sync_folder* find_sync_folder(const sync_file& parsed, wide_view path);

}  // namespace addfolder
