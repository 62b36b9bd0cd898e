#include "user_pattern.h"

namespace addfolder {

bool holds_impossible_character(wide_view text) { return text.find_first_of(u"\"\0", 0, 2) != wide_view::npos; }

bool add_user_pattern(exclusion_rules& rules, wide_view pattern) {
  return !holds_impossible_character(pattern) && add_exclusion_pattern(rules, pattern);
}

}  // namespace addfolder
