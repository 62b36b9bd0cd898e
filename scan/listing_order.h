// The order in which NTFS lists a folder, for hosts whose listing has none.
#pragma once

#include "file_system.h"
#include "path.h"

namespace addfolder {

// Names compared by UTF-16 units, each upper-cased as NTFS does; names that
// tie that way are compared by their exact units.
bool ntfs_name_less(wide_view left, wide_view right);

// Puts a listing's entries in the order of their names by ntfs_name_less.
void sort_in_ntfs_order(directory_listing& listing);

}  // namespace addfolder
