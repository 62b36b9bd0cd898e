#include "typed_value.h"

#include "messages.h"

namespace addfolder {

bool check_typed_value(wide_text_view value, wide_text& error) {
  const size_t quote = value.find(u'"');
  if (quote == wide_text_view::npos) return true;
  // What the user most likely typed before the backslash that ate the quote.
  const wide_text meant(value.substr(0, quote));
  error = wide_text(invalid_pattern) + wide_text(value) + wide_text(stray_quote_intro) + meant + u"/ or \"" + meant +
          wide_text(stray_quote_detail);
  return false;
}

}  // namespace addfolder
