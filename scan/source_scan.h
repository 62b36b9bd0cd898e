// The two scans of the chosen folder: the source files and the directories
// that hold headers.
#pragma once

#include <ostream>
#include <set>
#include <vector>

#include "scan/path.h"

namespace addfolder {

// A source file that the walk met: the rootless form of its entry path (scan
// root, "\", names; for a relative root the entry path itself) and whether
// the listing reported it as a symbolic link or junction.
struct source_file {
  wide_path path;
  bool is_link = false;
};

// The source files in the order the walk met them; not sorted, not de-duplicated.
using source_file_list = std::vector<source_file>;

// The directories that hold a header, each once, in the path order.
using header_directory_list = std::set<wide_path, path_less>;

// Every entry below the scan root whose extension is ".c", ".cc", ".cpp",
// ".s" or ".a" (exactly, letter case included). Problems go to errors as lines.
source_file_list scan_source_files(const wide_path& scan_root, std::ostream& errors);

// The parent of every regular file (links followed) below the scan root whose
// extension is ".h" or ".hpp". Problems go to errors as lines.
header_directory_list scan_header_directories(const wide_path& scan_root, std::ostream& errors);

// Both lists from one walk, with the same results and the same error lines as
// scan_source_files followed by scan_header_directories on a tree that does
// not change meanwhile.
struct scan_results {
  source_file_list sources;
  header_directory_list headers;
};
scan_results scan_tree(const wide_path& scan_root, std::ostream& errors);

}  // namespace addfolder
