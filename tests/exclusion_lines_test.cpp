// The lines of an exclusion file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exclusion_lines.h"

namespace addfolder {
namespace {

std::vector<wide_path> parsed(std::string_view bytes) {
  std::vector<wide_path> patterns;
  EXPECT_TRUE(parse_exclusion_lines(bytes, patterns));
  return patterns;
}

TEST(ExclusionLines, OnePatternALineWithoutCommentsOrBlankLines) {
  const std::vector<wide_path> expected{u"gcc/", u"**/Templates/arm", u"*_template.c", u"  lead"};
  EXPECT_EQ(parsed("gcc/\n**/Templates/arm\n*_template.c\n  lead\n"), expected);
  EXPECT_EQ(parsed("# vendor trees\ngcc/\n\n**/Templates/arm\n   \n\t\n#*.c\n*_template.c\n  lead"), expected);
  EXPECT_EQ(parsed("gcc/\r\n**/Templates/arm\r\n\r\n*_template.c\r\n  lead\r\n"), expected);
  EXPECT_EQ(parsed("gcc/ \t\r\n**/Templates/arm  \n*_template.c\r\r\n  lead"), expected);
  EXPECT_EQ(parsed(""), std::vector<wide_path>{});
  EXPECT_EQ(parsed("\n\r\n# only a comment"), std::vector<wide_path>{});
  EXPECT_EQ(parsed(" # not a comment"), std::vector<wide_path>{u" # not a comment"});
  EXPECT_EQ(parsed("a\rb\n"), std::vector<wide_path>{u"a\rb"});
}

TEST(ExclusionLines, ByteOrderMarksAreRead) {
  EXPECT_EQ(parsed("\xEF\xBB\xBF# comment\nM\xC3\xBCller/\n"), std::vector<wide_path>{u"M\u00fcller/"});
  EXPECT_EQ(parsed("\xEF\xBB\xBFgcc/"), std::vector<wide_path>{u"gcc/"});
  // Windows PowerShell writes UTF-16 with a byte order mark.
  const std::string little_endian("\xFF\xFEg\0c\0c\0/\0\r\0\n\0#\0x\0\n\0=\xD8\0\xDE\n\0", 26);
  EXPECT_EQ(parsed(little_endian), (std::vector<wide_path>{u"gcc/", u"\U0001F600"}));
  const std::string big_endian("\xFE\xFF\0a\0\n\0\xE9", 8);
  EXPECT_EQ(parsed(big_endian), (std::vector<wide_path>{u"a", u"\u00e9"}));
}

TEST(ExclusionLines, BytesThatAreNoTextAreRefused) {
  const std::string refused[] = {"gcc/\n\xC3\n",  "\xEF\xBB\xBF\xFF",      "a\xED\xA0\x80",
                                 "\xC0\xAF",      std::string("a\0b", 3),  std::string("\xFF\xFE" "a", 3),
                                 std::string("\xFF\xFE\0\xD8", 4), std::string("\xFF\xFE\0\xDC" "a\0", 6)};
  for (const std::string& bytes : refused) {
    std::vector<wide_path> patterns{u"kept"};
    EXPECT_FALSE(parse_exclusion_lines(bytes, patterns)) << testing::PrintToString(bytes);
    EXPECT_EQ(patterns, std::vector<wide_path>{u"kept"});
  }
}

TEST(ExclusionLines, PatternsAreAppended) {
  std::vector<wide_path> patterns{u"from/command/line"};
  ASSERT_TRUE(parse_exclusion_lines("a\nb\n", patterns));
  EXPECT_EQ(patterns, (std::vector<wide_path>{u"from/command/line", u"a", u"b"}));
}

}  // namespace
}  // namespace addfolder
