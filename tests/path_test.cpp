// The lexical path model, with Windows-style inputs on every host.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "path.h"
#include "tests/reference_model.h"
#include "text_conversion.h"

namespace addfolder {
namespace {

std::u16string str(wide_view view) { return std::u16string(view); }

TEST(PathSyntax, RootNamesAndDirectories) {
  EXPECT_EQ(str(root_name(u"C:\\work")), u"C:");
  EXPECT_EQ(str(root_name(u"c:/work")), u"c:");
  EXPECT_EQ(str(root_name(u"\\\\server\\share\\lib")), u"\\\\server");
  EXPECT_EQ(str(root_name(u"//server/share")), u"//server");
  EXPECT_EQ(str(root_name(u"\\\\\\x")), u"");
  EXPECT_EQ(str(root_name(u"1:\\x")), u"");
  EXPECT_EQ(str(root_name(u"src\\main.c")), u"");

  EXPECT_EQ(str(root_directory(u"C:\\\\work")), u"\\\\");
  EXPECT_EQ(str(root_directory(u"C:work")), u"");
  EXPECT_EQ(str(root_directory(u"\\home\\user")), u"\\");

  EXPECT_TRUE(is_absolute(u"C:\\work"));
  EXPECT_TRUE(is_absolute(u"\\\\server\\share"));
  EXPECT_FALSE(is_absolute(u"C:work"));
  EXPECT_FALSE(is_absolute(u"\\work"));
  EXPECT_FALSE(is_absolute(u"..\\lib"));
}

TEST(PathSyntax, ParentPathAndRootlessForm) {
  EXPECT_EQ(str(parent_path(u"lib\\hal\\gpio.c")), u"lib\\hal");
  EXPECT_EQ(str(parent_path(u".\\main.c")), u".");
  EXPECT_EQ(str(parent_path(u"main.c")), u"");
  EXPECT_EQ(str(parent_path(u"C:\\work")), u"C:\\");
  EXPECT_EQ(str(parent_path(u"C:\\")), u"C:\\");
  EXPECT_EQ(str(parent_path(u"lib\\\\hal")), u"lib");
  EXPECT_EQ(str(parent_path(u"lib/hal/")), u"lib/hal");
  EXPECT_EQ(str(parent_path(u"..\\lib\\startup.s")), u"..\\lib");

  EXPECT_EQ(str(rootless_form(u"C:\\work\\blinky")), u"work\\blinky");
  EXPECT_EQ(str(rootless_form(u"\\\\server\\share\\lib")), u"share\\lib");
  EXPECT_EQ(str(rootless_form(u"src\\drivers\\uart.c")), u"src\\drivers\\uart.c");
  EXPECT_EQ(str(rootless_form(u"C:")), u"");

  EXPECT_EQ(str(file_name(u"lib\\hal\\gpio.c")), u"gpio.c");
  EXPECT_EQ(str(file_name(u"lib\\hal\\")), u"");
  EXPECT_EQ(str(file_name(u"C:\\")), u"");
}

TEST(PathOrder, SeparatorSortsBeforeEverything) {
  const std::vector<wide_path> expected{u"inc", u"inc\\sub", u"inc-old", u"incB", u"include"};
  std::vector<wide_path> shuffled{u"include", u"inc-old", u"incB", u"inc\\sub", u"inc"};
  std::sort(shuffled.begin(), shuffled.end(), reference::path_less());
  EXPECT_EQ(shuffled, expected);

  EXPECT_TRUE(compare_paths(u"Drivers", u"drivers") < 0);
  EXPECT_TRUE(compare_paths(u"lib\\hal", u"lib2") < 0);
  EXPECT_TRUE(compare_paths(u"Drivers", u"app") < 0);
}

TEST(PathOrder, SeparatorsAreEquivalentAndRunsCountOnce) {
  EXPECT_TRUE(compare_paths(u"a/b", u"a\\b") == 0);
  EXPECT_TRUE(compare_paths(u"a\\b", u"a\\\\b") == 0);
  EXPECT_TRUE(compare_paths(u"a/b", u"a\\\\b") == 0);
  std::set<wide_path, reference::path_less> set{u"a/b", u"a\\b", u"a\\\\b"};
  EXPECT_EQ(set.size(), 1u);
}

TEST(PathOrder, RootsDecideFirst) {
  EXPECT_TRUE(compare_paths(u"C:\\z", u"D:\\a") < 0);
  EXPECT_TRUE(compare_paths(u"C:", u"C:\\") < 0);
  EXPECT_TRUE(compare_paths(u"z", u"C:a") < 0);
  EXPECT_TRUE(compare_paths(u"a", u"a\\") < 0);
  EXPECT_TRUE(compare_paths(u"", u"a") < 0);
  EXPECT_TRUE(compare_paths(u"Z", u"a") < 0);
}

// The path order spelled out step by step, to hold the fast one against.
int reference_order(wide_view left, wide_view right) {
  const auto sign = [](auto order) { return order < 0 ? -1 : order > 0 ? 1 : 0; };
  const wide_view left_root = root_name(left);
  const wide_view right_root = root_name(right);
  if (left_root != right_root) return sign(left_root.compare(right_root));
  if (root_directory(left).empty() != root_directory(right).empty()) return root_directory(left).empty() ? -1 : 1;
  std::vector<wide_path> a;
  std::vector<wide_path> b;
  for (auto [text, parts] : {std::pair{rootless_form(left), &a}, std::pair{rootless_form(right), &b}}) {
    wide_path token;
    for (char16_t c : text) {
      if (!is_separator(c)) {
        token += c;
      } else if (!token.empty() || parts->empty() || !parts->back().empty()) {
        parts->push_back(token);
        parts->push_back(u"");
        token.clear();
      }
    }
    parts->push_back(token);
  }
  // Names and one empty marker per separator run: a marker sorts below every code unit.
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
    if (a[i] == b[i]) continue;
    if (a[i].empty() != b[i].empty()) return a[i].empty() ? -1 : 1;
    return sign(a[i].compare(b[i]));
  }
  return sign(a.size() <=> b.size());
}

TEST(PathOrder, AgreesWithAStepByStepReading) {
  // Units above 0xFF and 0x5C00 tell a key that is not big-endian.
  const char16_t alphabet[] = {u'a', u'b', u'A', u'\\', u'/', u'-', u':', u'C', u'.', u'\u00e9', u'\u5c01'};
  std::mt19937 random(42);
  for (int round = 0; round < 200000; ++round) {
    wide_path texts[2];
    for (wide_path& text : texts) {
      const size_t length = random() % 12;
      for (size_t i = 0; i < length; ++i) text += alphabet[random() % std::size(alphabet)];
    }
    if (round % 3 == 0) texts[1] = texts[0].substr(0, random() % (texts[0].size() + 1)) + texts[1];
    const auto order = compare_paths(texts[0], texts[1]);
    const int fast = order < 0 ? -1 : order > 0 ? 1 : 0;
    ASSERT_EQ(fast, reference_order(texts[0], texts[1])) << testing::PrintToString(to_narrow(texts[0])) << " "
                                                         << testing::PrintToString(to_narrow(texts[1]));
    const int by_key = path_order_key(texts[0]).compare(path_order_key(texts[1]));
    ASSERT_EQ(fast, by_key < 0 ? -1 : by_key > 0 ? 1 : 0) << "the sort key differs";
  }
}

TEST(PathNormalForm, CollapsesSeparatorsDotsAndDotDots) {
  EXPECT_EQ(lexically_normal(u"src/./drivers/../board.h"), u"src\\board.h");
  EXPECT_EQ(lexically_normal(u".\\main.c"), u"main.c");
  EXPECT_EQ(lexically_normal(u"a\\\\b//c"), u"a\\b\\c");
  EXPECT_EQ(lexically_normal(u"C:\\..\\work"), u"C:\\work");
  EXPECT_EQ(lexically_normal(u"..\\..\\lib"), u"..\\..\\lib");
  EXPECT_EQ(lexically_normal(u"a\\..\\..\\b"), u"..\\b");
  EXPECT_EQ(lexically_normal(u"a\\.."), u".");
  EXPECT_EQ(lexically_normal(u"."), u".");
  EXPECT_EQ(lexically_normal(u""), u"");
  EXPECT_EQ(lexically_normal(u"a\\."), u"a\\");
  EXPECT_EQ(lexically_normal(u"a\\b\\..\\"), u"a\\");
  EXPECT_EQ(lexically_normal(u"a\\..\\..\\"), u"..");
  EXPECT_EQ(lexically_normal(u"//server/share/./x"), u"\\\\server\\share\\x");
}

TEST(PathRelative, NamesDotDotsAndDot) {
  const wide_path base = u"C:\\work\\blinky";
  EXPECT_EQ(lexically_relative(u"C:\\work\\blinky", base), u".");
  EXPECT_EQ(lexically_relative(u"C:\\work\\blinky\\src\\drivers", base), u"src\\drivers");
  EXPECT_EQ(lexically_relative(u"C:\\work\\lib\\board.c", base), u"..\\lib\\board.c");
  EXPECT_EQ(lexically_relative(u"C:\\work", base), u"..");
  EXPECT_EQ(lexically_relative(u"C:\\", base), u"..\\..");
  EXPECT_EQ(lexically_relative(u"C:/work/blinky/src", base), u"src");
}

TEST(PathRelative, NoRelativeFormAcrossRoots) {
  const wide_path base = u"C:\\work\\blinky";
  EXPECT_EQ(lexically_relative(u"D:\\lib", base), u"");
  EXPECT_EQ(lexically_relative(u"\\\\server\\share\\lib", base), u"");
  EXPECT_EQ(lexically_relative(u"", base), u"");
  EXPECT_EQ(lexically_relative(u"lib", base), u"");
  EXPECT_EQ(lexically_relative(u"c:\\work\\blinky", base), u"");
  EXPECT_EQ(lexically_relative(u"a", u".."), u"");
  EXPECT_EQ(lexically_relative(u"a", u"..\\b"), u"a");
}

TEST(PathRelative, RootlessAbsolutePathsOfPosixHosts) {
  EXPECT_EQ(lexically_relative(u"\\home\\me\\proj\\lib", u"\\home\\me\\proj"), u"lib");
  EXPECT_EQ(lexically_relative(u"\\home\\me\\other", u"\\home\\me\\proj"), u"..\\other");
  EXPECT_EQ(lexically_relative(u"rel", u"\\home"), u"");
}

}  // namespace
}  // namespace addfolder
