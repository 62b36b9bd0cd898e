#include "listing_order.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "text_conversion.h"

namespace addfolder {
namespace {

// The first four units of a name, upper-cased, the first in the highest
// bits and 0 past the end: keys that differ order their names as
// ntfs_name_less does, so most comparisons need not read the names.
std::uint64_t order_key(wide_view name) {
  std::uint64_t key = 0;
  for (size_t i = 0; i < 4; ++i) key = (key << 16) | (i < name.size() ? ntfs_upper(name[i]) : 0u);
  return key;
}

}  // namespace

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

void sort_in_ntfs_order(directory_listing& listing) {
  // Kept between listings, so that a walk allocates it once per thread.
  thread_local std::vector<std::pair<std::uint64_t, directory_entry>> keyed;
  keyed.clear();
  keyed.reserve(listing.entries.size());
  for (const directory_entry& entry : listing.entries) keyed.emplace_back(order_key(listing.name(entry)), entry);
  std::sort(keyed.begin(), keyed.end(), [&listing](const auto& a, const auto& b) {
    if (a.first != b.first) return a.first < b.first;
    return ntfs_name_less(listing.name(a.second), listing.name(b.second));
  });
  for (size_t i = 0; i < keyed.size(); ++i) listing.entries[i] = keyed[i].second;
}

}  // namespace addfolder
