// The plain reading of what the program computes with shortcuts: two
// separate scans that keep every path, one relative form per path, and
// lookups that walk a section's children. The tests compare the program
// against it.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "connection_document.h"
#include "new_connection_file.h"
#include "path.h"
#include "source_tree.h"

namespace addfolder::reference {

// A source file as a walk meets it: its entry path (scan root, "\", names)
// and whether the listing reported a link.
struct source_file {
  wide_path path;
  bool is_link = false;
};

// Strict weak order for ordered containers of paths under the path order.
struct path_less {
  using is_transparent = void;
  bool operator()(wide_view left, wide_view right) const { return compare_paths(left, right) < 0; }
};

// The source files in walk order, and the folders that hold headers in the path order.
using source_file_list = std::vector<source_file>;
using header_directory_list = std::set<wide_path, path_less>;

// The search for source files, alone: every entry with a source extension,
// with its own error lines appended to lines.
source_file_list scan_source_files(const wide_path& scan_root, std::string& lines);

// The search for header folders, alone, with its own error lines.
header_directory_list scan_header_directories(const wide_path& scan_root, std::string& lines);

// The source tree that a walk gives for these lists: a folder record for each
// folder, its sources in list order, relative forms from relative_form.
source_tree tree_of(const header_directory_list& headers, const source_file_list& sources);

// Every text from its own relative form; sources in list order.
connection_entries plain_entries(const header_directory_list& headers, const source_file_list& sources);

// The listing test, walking every direct child of section.
bool is_path_listed(pugi::xml_node section, std::string_view path_text);

// The group lookup, walking every child of files.
pugi::xml_node find_group(pugi::xml_node files, std::string_view name);

// The four passes of the fill with the walking lookups.
void plain_fill(connection_sections& sections, const connection_entries& entries);

// A new document filled by the program with its entries and one filled by
// plain_fill with the plain entries, each in its saved form.
std::pair<std::string, std::string> new_documents_filled(const connection_entries& entries,
                                                         const connection_entries& plain);

// The bytes of a new file written straight from its entries.
std::string written_straight(const new_connection_file& file);

}  // namespace addfolder::reference
