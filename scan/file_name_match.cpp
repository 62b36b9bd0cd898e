#include "file_name_match.h"

namespace addfolder {

bool same_file_name(wide_view left, wide_view right, name_rule rule) {
  return rule == name_rule::exact ? left == right : same_name_ignoring_case(left, right);
}

}  // namespace addfolder
