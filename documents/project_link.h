// The reference from the project file (.ewp) to the connection file.
#pragma once

#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "file_access.h"
#include "xml_document.h"
#include "path.h"

namespace addfolder {

// What link_project_file found and did.
enum class link_result {
  // The project file already names the connection file.
  found,
  // The reference was missing and has been appended to the document, which
  // the caller saves.
  added,
  // The project file could not be loaded.
  load_failed,
};

// The reference by which the project file names the connection file:
// "$PROJ_DIR$\" + project name + ".ipcf", in narrow text.
std::string connection_reference(std::string_view narrow_project_name);

// Loads the project file into project and looks for a top-level file/name
// entry that names the connection file ("/" read as "\", otherwise byte for
// byte); appends one as the last child of project when none does. A stamp,
// where asked for, receives the state of the file as it was read; a problem,
// why its text was refused. Raises std::bad_alloc when memory runs out.
link_result link_project_file(const wide_path& project_file, std::string_view connection_reference,
                              pugi::xml_document& project, file_stamp* stamp = nullptr,
                              document_text_problem* problem = nullptr);

}  // namespace addfolder
