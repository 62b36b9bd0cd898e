// The folder order that both hosts walk in.
#include <gtest/gtest.h>

#include <algorithm>

#include "listing_order.h"

namespace addfolder {
namespace {

TEST(ListingOrder, SortsAsNtfsLists) {
  const std::vector<wide_path> expected{u"1a", u"a b", u"a-b", u"a.b", u"A1",   u"aB",  u"ab",   u"app",
                                        u"Main.C", u"main.c", u"Zeta", u"zz", u"[x", u"_priv", u"~y"};
  std::vector<wide_path> names = expected;
  std::reverse(names.begin(), names.end());
  std::sort(names.begin(), names.end(), ntfs_name_less);
  EXPECT_EQ(names, expected);
}

TEST(ListingOrder, OnlyAsciiLettersFold) {
  EXPECT_TRUE(ntfs_name_less(u"Z", u"\u00e4"));
  EXPECT_TRUE(ntfs_name_less(u"\u00c4", u"\u00e4"));
  EXPECT_TRUE(ntfs_name_less(u"ab", u"abc"));
  EXPECT_FALSE(ntfs_name_less(u"ab", u"ab"));
}

}  // namespace
}  // namespace addfolder
