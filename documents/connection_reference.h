// The reference by which the project file names the connection file, and
// the test of whether a text in the project file names that file.
#pragma once

#include <string>
#include <string_view>

#include "file_name_match.h"
#include "file_stamp.h"
#include "path.h"

namespace addfolder {

// The reference that a run adds: "$PROJ_DIR$\" + project name + ".ipcf", in
// narrow text.
std::string connection_reference(std::string_view narrow_project_name);

// The connection file, as the texts of a project file may name it.
struct connection_file_names {
  // The project directory, absolute: what a leading $PROJ_DIR$ stands for,
  // and the folder that a text without one is relative to.
  wide_path project_directory;
  // The connection file's name in that folder, such as "blinky.ipcf".
  wide_path file_name;
  // Its state: where it exists, a text that leads to the same file by
  // another way (a link, "..") names it too.
  file_stamp stamp;
  // How the host compares names.
  name_rule names = host_name_rule;
};

// True when text names the connection file. A leading "$PROJ_DIR$" stands for
// the project directory, and a text without a leading macro is relative to
// it; another leading macro names no file of the project. "/" and "\" count
// alike, runs of separators as one, and "." names are dropped; the names then
// compare by the host's rule. Otherwise a text whose last name ends in
// ".ipcf" names the file when it leads to the same existing file.
bool names_connection_file(std::string_view text, const connection_file_names& names);

}  // namespace addfolder
