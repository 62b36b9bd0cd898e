// Whether two names are the same entry of one folder, as a host's file
// system compares names: exactly on POSIX, without regard to letter case on
// Windows. Both rules are here on every host, so that each can be tested on
// the other.
#pragma once

#include "path.h"

namespace addfolder {

// How a file system tells names apart.
enum class name_rule {
  // Code unit for code unit.
  exact,
  // Letters of either case are the same letter (same_name_ignoring_case).
  ignoring_case,
};

// The rule of this host's file system.
extern const name_rule host_name_rule;

// True when the two names are equal without regard to letter case: on
// Windows as Windows itself compares them (CompareStringOrdinal), elsewhere
// as NTFS upper-cases them (same_ntfs_name). Every name that Windows takes
// for one, the latter does too.
bool same_name_ignoring_case(wide_view left, wide_view right);

// True when the two names are equal under the rule.
bool same_file_name(wide_view left, wide_view right, name_rule rule);

}  // namespace addfolder
