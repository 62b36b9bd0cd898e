#include "listing_order.h"

#include <algorithm>

#include "text_conversion.h"

namespace addfolder {

bool ntfs_name_less(wide_view left, wide_view right) {
  const size_t common = std::min(left.size(), right.size());
  for (size_t i = 0; i < common; ++i) {
    if (left[i] == right[i]) continue;
    const char16_t a = ntfs_upper(left[i]);
    const char16_t b = ntfs_upper(right[i]);
    if (a != b) return a < b;
  }
  if (left.size() != right.size()) return left.size() < right.size();
  return left < right;
}

}  // namespace addfolder
