// The reference from the project file (.ewp) to the connection file.
#pragma once

#include <string>
#include <string_view>

#include "scan/path.h"

namespace addfolder {

// What link_project_file found and did.
enum class link_result {
  // The project file already names the connection file; it was not written.
  found,
  // The reference was appended and the project file written back.
  added,
  // The project file could not be loaded.
  load_failed,
  // The reference was missing, and the project file could not be written; it is unchanged.
  save_failed,
};

// The reference by which the project file names the connection file:
// "$PROJ_DIR$\" + project name + ".ipcf", in narrow text.
std::string connection_reference(std::string_view narrow_project_name);

// Makes sure that a top-level file/name entry of the project file equals the
// connection reference ("/" read as "\", otherwise byte for byte); appends one as the last child of
// project and saves the file when none does. When original_bytes is given it
// receives the project file's bytes as they were before, so that a later
// failure can put them back. When kept_old is given and the file is written,
// the old file keeps the second name that kept_old receives (see
// keep_old_file); it stays empty where none could be made. The caller puts
// the old file back or forgets the name.
link_result link_project_file(const wide_path& project_file, std::string_view connection_reference,
                              std::string* original_bytes = nullptr, wide_path* kept_old = nullptr);

}  // namespace addfolder
