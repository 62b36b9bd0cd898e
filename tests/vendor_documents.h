// Project files and connection files in the shapes that the IDE and vendor
// tools write, for tests that run the program on them.
#pragma once

#include <string>

namespace addfolder::test_support {

// A vendor SDK example project: fileVersion 2, declared iso-8859-1 (with a
// Latin-1 byte in it), 2-space indentation, a blank line after the
// declaration, and the connection file named "$PROJ_DIR$/hello.ipcf" by a
// file entry at column 0, followed by more files.
std::string vendor_example_project();

// A project as the IDE writes it at fileVersion 3, with CRLF line ends; it
// names no connection file.
std::string ide_project_crlf();

// A project at fileVersion 4: its connection entries carry
// <tag>IAR.ControlFile</tag> beside <name>, and its last element is
// projectSettings. With reference, one of them names "$PROJ_DIR$\hello.ipcf".
std::string ide_project_control_files(bool with_reference);

// A project of about 800 KB with 21 configurations that names
// "$PROJ_DIR$\hello.ipcf".
std::string large_project();

// The connection file that a vendor tool writes beside the example project:
// version="1.8" and schema attributes on the root, no oneShot, every section
// such tools write, nested and same-named groups, groups that are not built
// or have a custom build tool, paths with attributes, with a user variable,
// written with ".\" and with "/".
std::string vendor_connection_file();

// A vendor connection file that lists 3,700 source files in groups.
std::string large_vendor_connection_file();

}  // namespace addfolder::test_support
