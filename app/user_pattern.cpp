#include "user_pattern.h"

#include "messages.h"

namespace addfolder {

bool holds_impossible_character(wide_view text) { return text.find_first_of(u"\"\0", 0, 2) != wide_view::npos; }

bool check_typed_value(wide_text_view value, wide_text& error) {
  if (!holds_impossible_character(value)) return true;
  // What the user most likely typed before the backslash that ate the quote.
  const wide_text meant(value.substr(0, value.find(u'"')));
  error = wide_text(invalid_pattern) + wide_text(value) + wide_text(stray_quote_intro) + meant +
          wide_text(stray_quote_middle) + meant + wide_text(stray_quote_detail);
  return false;
}

wide_text invalid_pattern_message(wide_view pattern) {
  if (pattern.size() <= most_pattern_length) return wide_text(invalid_pattern) + wide_text(pattern);
  return wide_text(invalid_pattern) + wide_text(pattern.substr(0, most_shown_pattern_characters)) +
         wide_text(cut_text_mark);
}

bool add_user_pattern(exclusion_rules& rules, wide_view pattern) {
  return !holds_impossible_character(pattern) && add_exclusion_pattern(rules, pattern);
}

}  // namespace addfolder
