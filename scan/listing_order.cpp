#include "listing_order.h"

#include <algorithm>

namespace addfolder {
namespace {

char16_t ascii_upper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - (u'a' - u'A')) : c; }

}  // namespace

bool ntfs_name_less(wide_view left, wide_view right) {
  const size_t common = std::min(left.size(), right.size());
  for (size_t i = 0; i < common; ++i) {
    const char16_t a = ascii_upper(left[i]);
    const char16_t b = ascii_upper(right[i]);
    if (a != b) return a < b;
  }
  if (left.size() != right.size()) return left.size() < right.size();
  return left < right;
}

}  // namespace addfolder
