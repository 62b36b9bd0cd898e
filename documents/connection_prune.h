// Removing from a connection document what a folder no longer provides.
#pragma once

#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "change_log.h"
#include "connection_document.h"
#include "connection_fill.h"

namespace addfolder {

// Removes, after the fill, what lies within the folder whose relative form
// (narrow text) is folder and is not among this run's entries: include
// directories that are direct path children of the two include sections,
// source files that are path children of files or of a group directly under
// it, and then groups directly under files, named within the folder, that
// hold no element. Only files with a source extension are removed; other
// files, deeper groups and everything outside the folder stay. Texts compare
// as same_path_text compares them. A text lies within the folder only as the program
// itself could have written it: the folder, then names that are not empty,
// "." or "..". A group goes only when this run emptied it. filled is what
// the fill of this run left. Notes every removal in log.
void prune_connection_document(connection_sections& sections, const connection_entries& entries,
                               std::string_view folder, fill_result& filled, change_log& log);

}  // namespace addfolder
