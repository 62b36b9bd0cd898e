// The lexical path model, with Windows-style inputs on every host.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "scan/path.h"

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
  std::sort(shuffled.begin(), shuffled.end(), path_less());
  EXPECT_EQ(shuffled, expected);

  EXPECT_TRUE(compare_paths(u"Drivers", u"drivers") < 0);
  EXPECT_TRUE(compare_paths(u"lib\\hal", u"lib2") < 0);
  EXPECT_TRUE(compare_paths(u"Drivers", u"app") < 0);
}

TEST(PathOrder, SeparatorsAreEquivalentAndRunsCountOnce) {
  EXPECT_TRUE(compare_paths(u"a/b", u"a\\b") == 0);
  EXPECT_TRUE(compare_paths(u"a\\b", u"a\\\\b") == 0);
  EXPECT_TRUE(compare_paths(u"a/b", u"a\\\\b") == 0);
  std::set<wide_path, path_less> set{u"a/b", u"a\\b", u"a\\\\b"};
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
