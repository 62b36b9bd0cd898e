// The folder order that both hosts walk in.
#include <gtest/gtest.h>

#include <algorithm>

#include "listing_order.h"

namespace addfolder {
namespace {

TEST(ListingOrder, SortsAsNtfsLists) {
  // Every letter is compared in upper case; names that tie so go by their
  // exact units. Letters without a one-unit upper case (U+00DF) stay as they are.
  const std::vector<wide_path> expected{
      u"1a",       u"a b",           u"a-b",       u"a.b",       u"A1",        u"aB",         u"ab",
      u"app",      u"Main.C",        u"main.c",    u"Zeta",      u"zz",        u"[x",         u"_priv",
      u"~y",       u"\u00f6lfilter.c", u"\u00d6lpumpe.c", u"\u00df", u"\u00ff", u"\u0178", u"\u0391\u03bb",
      u"\u03b1\u03bc", u"\u00b5",    u"\u03bc",    u"\u03a9mega", u"\u03c9mega", u"\u0411\u0435\u0442\u0430",
      u"\u042f\u0431", u"\u044f\u0431", u"\u65e5\u672c", u"\uff21",  u"\uff41"};
  std::vector<wide_path> names = expected;
  std::reverse(names.begin(), names.end());
  std::sort(names.begin(), names.end(), ntfs_name_less);
  EXPECT_EQ(names, expected);

  // A listing sorts the same way, with names past the first four units
  // deciding and prefixes of one another among them.
  std::vector<wide_path> longer = expected;
  longer.insert(longer.end(), {u"abcdE", u"ABCDe", u"abcd", u"abcde1", u"ABCCö", u"abcdÖ"});
  std::sort(longer.begin(), longer.end(), ntfs_name_less);
  directory_listing listing;
  for (auto name = longer.rbegin(); name != longer.rend(); ++name) {
    directory_entry entry;
    entry.name_start = static_cast<std::uint32_t>(listing.names.size());
    entry.name_length = static_cast<std::uint32_t>(name->size());
    listing.names += *name;
    listing.entries.push_back(entry);
  }
  sort_in_ntfs_order(listing);
  std::vector<wide_path> listed;
  for (const directory_entry& entry : listing.entries) listed.emplace_back(listing.name(entry));
  EXPECT_EQ(listed, longer);
  EXPECT_TRUE(ntfs_name_less(u"ab", u"abc"));
  EXPECT_FALSE(ntfs_name_less(u"ab", u"ab"));
}

}  // namespace
}  // namespace addfolder
