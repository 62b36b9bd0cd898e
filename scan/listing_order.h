// The order in which NTFS lists a folder, for hosts whose listing has none.
#pragma once

#include "path.h"

namespace addfolder {

// Names compared by UTF-16 code units with ASCII a-z upper-cased; names that
// tie that way are compared by their exact code units.
bool ntfs_name_less(wide_view left, wide_view right);

}  // namespace addfolder
