// Removing from a connection document what a folder no longer provides.
#pragma once

#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "change_log.h"
#include "connection_document.h"

namespace addfolder {

// Removes, after the fill, what lies within the folder whose relative form
// (narrow text) is folder and is not among this run's entries: include
// directories that are direct path children of the two include sections,
// source files that are path children of files or of a group directly under
// it, and then groups directly under files, named within the folder, that
// hold no element. Only files with a source extension are removed; other
// files, deeper groups and everything outside the folder stay. Texts compare
// with "/" and "\" alike. listing holds the elements that the fill found or
// added for the source files. Notes every removal in log.
void prune_connection_document(connection_sections& sections, const connection_entries& entries,
                               std::string_view folder, const std::vector<pugi::xml_node>& listing, change_log& log);

}  // namespace addfolder
