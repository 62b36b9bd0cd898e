#include "file_name_match.h"

#include "text_conversion.h"

namespace addfolder {

const name_rule host_name_rule = name_rule::exact;

bool same_name_ignoring_case(wide_view left, wide_view right) { return same_ntfs_name(left, right); }

}  // namespace addfolder
