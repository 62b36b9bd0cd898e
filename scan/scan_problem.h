// A problem that the scan met and went past, as data: the front end turns
// it into lines on standard error.
#pragma once

#include <string>
#include <vector>

#include "path.h"

namespace addfolder {

// What went wrong.
enum class scan_problem_kind {
  // A folder could not be listed, or a name in it has no wide form: the walk
  // went on without it. path names the folder.
  unreadable_folder,
  // A call to the system failed and ended the part of the scan that needed
  // it. operation names the call, path the path it was given.
  failed_call,
  // An entry whose name holds "\" was left out, since a Windows project
  // cannot name it. path names the folder, name the entry.
  backslash_name,
};

// One problem. The walk looks for two things, the source files and the
// folders that hold headers, and each reports the problems that it met:
// first every problem of the source files, then every one of the headers.
struct scan_problem {
  scan_problem_kind kind = scan_problem_kind::unreadable_folder;
  wide_path path;
  // The call that failed: "exists", "status" or
  // "recursive_directory_iterator::recursive_directory_iterator".
  std::string operation;
  // The name of an entry that was left out.
  wide_path name;
  // The platform's error code (errno on POSIX, the Win32 error on Windows).
  int code = 0;
  // Whether the search for source files met it, and whether the search for headers did.
  bool met_by_sources = true;
  bool met_by_headers = true;
};

using scan_problem_list = std::vector<scan_problem>;

}  // namespace addfolder
