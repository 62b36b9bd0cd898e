// The reference from the project file (.ewp) to the connection file.
#pragma once

#include <string_view>

#include <pugixml.hpp>

#include "connection_reference.h"
#include "document_error.h"
#include "file_stamp.h"
#include "path.h"

namespace addfolder {

// What link_project_file found and did.
enum class link_result {
  // The project file already names the connection file.
  found,
  // The reference was missing and has been appended as the last child of
  // project; the caller saves the document.
  added,
};

// Loads the project file into project and looks for a file/name entry at any
// depth below its root element project whose text names the connection file
// (names_connection_file); appends reference in a new top-level entry when
// none does. An error when the file does not load or its root element is not
// project. A stamp, where asked for, receives the state of the file as it was
// read. Raises std::bad_alloc when memory runs out.
document_error link_project_file(const wide_path& project_file, const connection_file_names& connection,
                                 std::string_view reference, pugi::xml_document& project, link_result& result,
                                 file_stamp* stamp = nullptr);

}  // namespace addfolder
