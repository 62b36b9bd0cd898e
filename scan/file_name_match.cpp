#include "file_name_match.h"

#include <algorithm>

namespace addfolder {
namespace {

// Folds ASCII letters only; every other character must match exactly.
template <typename Unit>
constexpr Unit ascii_upper(Unit c) {
  return c >= 'a' && c <= 'z' ? static_cast<Unit>(c - ('a' - 'A')) : c;
}

template <typename View>
bool same_under(View left, View right, name_rule rule) {
  if (rule == name_rule::exact) return left == right;
  using unit = typename View::value_type;
  return std::equal(left.begin(), left.end(), right.begin(), right.end(),
                    [](unit a, unit b) { return ascii_upper(a) == ascii_upper(b); });
}

}  // namespace

bool same_file_name(wide_view left, wide_view right, name_rule rule) { return same_under(left, right, rule); }

bool same_file_name(std::string_view left, std::string_view right, name_rule rule) {
  return same_under(left, right, rule);
}

}  // namespace addfolder
