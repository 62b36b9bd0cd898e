#include "file_name_match.h"

#include "text_conversion.h"

namespace addfolder {

bool same_file_name(wide_view left, wide_view right, name_rule rule) {
  return rule == name_rule::exact ? left == right : same_ntfs_name(left, right);
}

}  // namespace addfolder
