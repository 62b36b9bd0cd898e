// The connection file (.ipcf): its sections, and filling them from a scan.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "scan/relative_form.h"
#include "scan/source_scan.h"

namespace addfolder {

// The four handles that the filling works on; any may be null in extend mode.
struct connection_sections {
  pugi::xml_node root;
  pugi::xml_node include_path;
  pugi::xml_node asm_include_path;
  pugi::xml_node files;
};

// Builds iarProjectConnection (name="src", oneShot="false") with empty
// includePath, asmIncludePath and files in an empty document.
connection_sections build_connection_document(pugi::xml_document& document);

// Finds the sections of a loaded connection document; a missing one is null.
connection_sections open_connection_document(pugi::xml_document& document);

// True when a direct child of section, of any kind, has path_text as its text
// (child_value), "/" read as "\" (same_path_text); false for a null section.
bool is_path_listed(pugi::xml_node section, std::string_view path_text);

// The first group child of files, in document order, with an attribute name
// (any of them) whose value is name, "/" read as "\"; null when there is none.
pugi::xml_node find_group(pugi::xml_node files, std::string_view name);

// Everything the fill writes, computed before any file is touched, so that a
// path without a relative form or a name without narrow text stops the run
// with nothing written.
struct connection_entries {
  // Path texts of the header directories, in the path order.
  std::vector<std::string> include_paths;
  // Group names, in the byte order of the directories as the scan spells them;
  // "." (the working directory) is not among them.
  std::vector<std::string> group_names;
  // A source file: its path text, and the index of its group in group_names,
  // or no_group when it lies directly in the working directory.
  struct source {
    std::string path_text;
    size_t group;
  };
  static constexpr size_t no_group = static_cast<size_t>(-1);
  std::vector<source> sources;
};

// Computes the texts of every entry from the two lists; raises system_error
// when a relative form or a narrow text cannot be made.
connection_entries plan_connection_entries(const header_directory_list& headers, const source_file_list& sources,
                                           walk_relative_forms& forms);

// Adds what is missing, in four passes: includePath, asmIncludePath, the
// groups, the source files. Only ever appends; when added is given it
// receives the number of elements appended. False when the XML library ran
// out of memory, in which case the document must not be saved.
bool fill_connection_document(connection_sections& sections, const connection_entries& entries,
                              size_t* added = nullptr);

}  // namespace addfolder
