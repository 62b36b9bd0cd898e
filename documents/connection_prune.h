// Removing from a connection document what a folder no longer provides.
#pragma once

#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "change_log.h"
#include "connection_document.h"
#include "connection_fill.h"
#include "folder_scope.h"

namespace addfolder {

// Removes, after the fill, what lies within the folder's scope and is not
// among this run's entries: include directories that are direct path
// children of the two include sections, source files that are path children
// of files or of a group directly under it, and then groups directly under
// files, named within the folder, that this run emptied. In the tree layout
// it also removes source files at any depth below the folder's top group (or
// below files, for the working directory), and then, from the bottom up,
// every group there that this run emptied and whose name is one plain name.
// Only files with a source extension are removed; other files, and
// everything outside the scope, stay. Texts compare as same_path_text
// compares them. filled is what the fill of this run left. Notes every
// removal in log.
void prune_connection_document(connection_sections& sections, const connection_entries& entries,
                               const folder_scope& folder, fill_result& filled, change_log& log);

}  // namespace addfolder
