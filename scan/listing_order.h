// The order in which NTFS lists a folder, for hosts whose listing has none.
#pragma once

#include "path.h"

namespace addfolder {

// Names compared by UTF-16 units, each upper-cased as NTFS does; names that
// tie that way are compared by their exact units.
bool ntfs_name_less(wide_view left, wide_view right);

}  // namespace addfolder
