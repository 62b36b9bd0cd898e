// Exclusion patterns asked about paths the way the tree walk asks: one name at
// a time, entering each folder with the state that its parent's answer gave.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "exclusion_rules.h"
#include "text_conversion.h"

namespace addfolder {
namespace {

exclusion_rules compiled(const std::vector<wide_path>& patterns) {
  exclusion_rules rules;
  for (const wide_path& pattern : patterns) EXPECT_TRUE(add_exclusion_pattern(rules, pattern)) << to_narrow(pattern);
  return rules;
}

// Walks a path ("a/b/c.c"; a trailing "/" makes the last name a folder) name by
// name. Returns the part of the path up to the first excluded name, or empty
// when every name is kept: like the walk, it asks nothing below an excluded folder.
wide_path excluded_part(const exclusion_rules& rules, wide_view path) {
  const bool last_is_folder = !path.empty() && path.back() == u'/';
  if (last_is_folder) path.remove_suffix(1);
  exclusion_state state = root_exclusion_state(rules);
  exclusion_state child;
  for (std::size_t start = 0;;) {
    const std::size_t found = path.find(u'/', start);
    const bool last = found == wide_view::npos;
    const std::size_t end = last ? path.size() : found;
    const bool is_folder = !last || last_is_folder;
    if (is_excluded(rules, state, path.substr(start, end - start), is_folder, is_folder ? &child : nullptr)) {
      return wide_path(path.substr(0, end));
    }
    if (last) return wide_path();
    std::swap(state, child);
    start = end + 1;
  }
}

struct walk_case {
  std::vector<wide_path> patterns;
  wide_path path;
  // The part excluded, or empty when the path is kept.
  wide_path excluded;
};

void expect_walks(const std::vector<walk_case>& cases) {
  for (const walk_case& row : cases) {
    std::string patterns;
    for (const wide_path& pattern : row.patterns) patterns += " " + to_narrow(pattern);
    EXPECT_EQ(to_narrow(excluded_part(compiled(row.patterns), row.path)), to_narrow(row.excluded))
        << "patterns" << patterns << ", path " << to_narrow(row.path);
  }
}

TEST(ExclusionRules, NameWithoutSeparatorMatchesAtAnyDepth) {
  expect_walks({
      {{u"gcc"}, u"gcc", u"gcc"},
      {{u"gcc"}, u"gcc/", u"gcc"},
      {{u"gcc"}, u"a/b/gcc/", u"a/b/gcc"},
      {{u"gcc"}, u"a/gcc/x.c", u"a/gcc"},
      {{u"gcc"}, u"a/b/gcc", u"a/b/gcc"},
      {{u"gcc"}, u"a/gcc.c", u""},
      {{u"gcc"}, u"a/xgcc/y.c", u""},
      {{u"gcc"}, u"a/gccx/", u""},
  });
}

TEST(ExclusionRules, SeparatorBeforeLastNameAnchorsAtChosenFolder) {
  expect_walks({
      {{u"a/b"}, u"a/b", u"a/b"},
      {{u"a/b"}, u"a/b/c.c", u"a/b"},
      {{u"a/b"}, u"x/a/b", u""},
      {{u"a/b"}, u"a", u""},
      {{u"a/b"}, u"a/", u""},
      {{u"a/b"}, u"a/c/b", u""},
      {{u"a//b"}, u"a/b", u"a/b"},
      {{u"/gcc"}, u"gcc/", u"gcc"},
      {{u"/gcc"}, u"gcc", u"gcc"},
      {{u"/gcc"}, u"a/gcc/", u""},
      {{u"//gcc"}, u"gcc/x.c", u"gcc"},
      {{u"/a/b/c"}, u"a/b/c/d.c", u"a/b/c"},
      {{u"/a/b/c"}, u"a/b/d/c", u""},
  });
}

TEST(ExclusionRules, TrailingSeparatorMatchesFoldersOnly) {
  expect_walks({
      {{u"gcc/"}, u"a/gcc/", u"a/gcc"},
      {{u"gcc/"}, u"a/gcc/startup.s", u"a/gcc"},
      {{u"gcc/"}, u"a/gcc", u""},
      {{u"gcc/"}, u"gcc", u""},
      {{u"gcc//"}, u"gcc/", u"gcc"},
      {{u"a/b/"}, u"a/b", u""},
      {{u"a/b/"}, u"a/b/", u"a/b"},
      {{u"a/b/"}, u"x/a/b/", u""},
      {{u"/gcc/"}, u"gcc/", u"gcc"},
      {{u"/gcc/"}, u"x/gcc/", u""},
      {{u"*.c/"}, u"x.c", u""},
      {{u"*.c/"}, u"x.c/", u"x.c"},
  });
}

TEST(ExclusionRules, StarAndQuestionMarkStayWithinOneName) {
  expect_walks({
      {{u"*.c"}, u"x/y.c", u"x/y.c"},
      {{u"*.c"}, u"x/y.cc", u""},
      {{u"*.c"}, u"x.c/y.h", u"x.c"},
      {{u"*"}, u".hidden", u".hidden"},
      {{u"a*b"}, u"ab", u"ab"},
      {{u"a*b"}, u"axxb", u"axxb"},
      {{u"a*b"}, u"axxbc", u""},
      {{u"a*b"}, u"a/b", u""},
      {{u"a**b"}, u"axyb", u"axyb"},
      {{u"a**b"}, u"a/x/b", u""},
      {{u"x*"}, u"d/X1.c", u"d/X1.c"},
      {{u"x*"}, u"d/yx", u""},
      {{u"*a*b*c"}, u"zazzbzzc", u"zazzbzzc"},
      {{u"*a*b*c"}, u"zazzczzb", u""},
      {{u"*a*a*a*b"}, u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", u""},
      {{u"*a*a*a*b"}, u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab"},
      {{u"?.c"}, u"a.c", u"a.c"},
      {{u"?.c"}, u"ab.c", u""},
      {{u"?.c"}, u".c", u""},
      {{u"?.c"}, u"\U0001F600.c", u"\U0001F600.c"},
      {{u"a?c"}, u"a/c", u""},
      {{u"*?"}, u"x", u"x"},
  });
}

TEST(ExclusionRules, ClassesMatchOneCharacter) {
  expect_walks({
      {{u"[abc].c"}, u"b.c", u"b.c"},
      {{u"[abc].c"}, u"d.c", u""},
      {{u"[abc].c"}, u"ab.c", u""},
      {{u"[a-z]1"}, u"q1", u"q1"},
      {{u"[a-z]1"}, u"01", u""},
      {{u"[0-9a-f]x"}, u"7x", u"7x"},
      {{u"[!a]1"}, u"b1", u"b1"},
      {{u"[!a]1"}, u"a1", u""},
      {{u"[^a]1"}, u"b1", u"b1"},
      {{u"[^a]1"}, u"a1", u""},
      {{u"[]a]"}, u"]", u"]"},
      {{u"[]a]"}, u"a", u"a"},
      {{u"[!]]"}, u"]", u""},
      {{u"[!]]"}, u"x", u"x"},
      {{u"[a-]"}, u"-", u"-"},
      {{u"[-a]"}, u"-", u"-"},
      {{u"[z-a]"}, u"m", u""},
      {{u"[\U0001F600]"}, u"\U0001F600", u"\U0001F600"},
      {{u"[!x].c"}, u"\U0001F600.c", u"\U0001F600.c"},
      // A "[" without its "]" is an ordinary character.
      {{u"[ab"}, u"[ab", u"[ab"},
      {{u"[ab"}, u"a", u""},
      {{u"[*.c"}, u"[x.c", u"[x.c"},
      {{u"[]"}, u"[]", u"[]"},
      {{u"[!"}, u"[!", u"[!"},
      {{u"x[a"}, u"X[A", u"X[A"},
  });
}

TEST(ExclusionRules, DoubleStarTakesAnyNumberOfFolders) {
  expect_walks({
      {{u"**/test"}, u"test/", u"test"},
      {{u"**/test"}, u"a/b/test/", u"a/b/test"},
      {{u"**/test"}, u"a/b/test", u"a/b/test"},
      {{u"**/test/"}, u"a/b/test", u""},
      {{u"a/**/b"}, u"a/b", u"a/b"},
      {{u"a/**/b"}, u"a/x/b", u"a/x/b"},
      {{u"a/**/b"}, u"a/x/y/b/c.c", u"a/x/y/b"},
      {{u"a/**/b"}, u"x/a/b", u""},
      {{u"a/**/b"}, u"a/bb", u""},
      {{u"a/**/**/b"}, u"a/b", u"a/b"},
      {{u"**/a/**/b"}, u"x/a/y/z/b", u"x/a/y/z/b"},
      {{u"**/a/**/b"}, u"x/b/a", u""},
      {{u"a/**/a/b"}, u"a/a/a/a/b", u"a/a/a/a/b"},
      {{u"a/**/a/b"}, u"a/b", u""},
      // A trailing "**" takes everything below its folder, not the folder.
      {{u"lib/**"}, u"lib/", u""},
      {{u"lib/**"}, u"lib/x.c", u"lib/x.c"},
      {{u"lib/**"}, u"lib/a/x.c", u"lib/a"},
      {{u"lib/**"}, u"x/lib/a", u""},
      {{u"lib/**/"}, u"lib/x.c", u""},
      {{u"lib/**/"}, u"lib/a/x.c", u"lib/a"},
      {{u"**"}, u"x.c", u"x.c"},
      {{u"**"}, u"a/", u"a"},
      {{u"/**/"}, u"x.c", u""},
      {{u"**/"}, u"a/x.c", u"a"},
  });
}

TEST(ExclusionRules, BackslashSeparatesAsSlashDoes) {
  expect_walks({
      {{u"a\\b"}, u"a/b", u"a/b"},
      {{u"a\\b"}, u"x/a/b", u""},
      {{u"\\gcc\\"}, u"gcc/", u"gcc"},
      {{u"\\gcc\\"}, u"a/gcc/", u""},
      {{u"gcc\\"}, u"a/gcc", u""},
      {{u"a\\**\\b"}, u"a/x/b", u"a/x/b"},
      {{u"Source\\Templates/arm"}, u"Source/Templates/arm/", u"Source/Templates/arm"},
  });
}

TEST(ExclusionRules, OnlyAsciiLettersIgnoreCase) {
  expect_walks({
      {{u"GCC/"}, u"a/gcc/", u"a/gcc"},
      {{u"gcc/"}, u"a/GcC/", u"a/GcC"},
      {{u"*.C"}, u"x.c", u"x.c"},
      {{u"[A-Z]1"}, u"q1", u"q1"},
      {{u"[a-z]1"}, u"Q1", u"Q1"},
      {{u"[!a]1"}, u"A1", u""},
      {{u"[abc].c"}, u"B.c", u"B.c"},
      {{u"\u00c9cole"}, u"\u00c9COLE", u"\u00c9COLE"},
      {{u"\u00c9cole"}, u"\u00e9cole", u""},
      {{u"*\u00e9"}, u"caf\u00c9", u""},
      {{u"[\u00c9]"}, u"\u00e9", u""},
      {{u"\u0130"}, u"i", u""},
  });
}

TEST(ExclusionRules, DotNamesAreDroppedWithTheirSeparatorsKept) {
  expect_walks({
      {{u"./gcc"}, u"gcc/", u"gcc"},
      {{u"./gcc"}, u"a/gcc/", u""},
      {{u"a/./b"}, u"a/b", u"a/b"},
      {{u"gcc/."}, u"a/gcc/", u"a/gcc"},
      {{u"gcc/."}, u"a/gcc", u""},
      {{u".x"}, u".x", u".x"},
  });
}

TEST(ExclusionRules, ExamplesBelowDrivers) {
  expect_walks({
      {{u"gcc/"},
       u"CMSIS/Device/ST/STM32F0xx/Source/Templates/gcc/startup_stm32f030x6.s",
       u"CMSIS/Device/ST/STM32F0xx/Source/Templates/gcc"},
      {{u"gcc/"}, u"CMSIS/gcc.c", u""},
      {{u"**/Templates/arm"},
       u"CMSIS/Device/ST/STM32F0xx/Source/Templates/arm/startup_stm32f030x6.s",
       u"CMSIS/Device/ST/STM32F0xx/Source/Templates/arm"},
      {{u"**/Templates/arm"}, u"CMSIS/Device/ST/STM32F0xx/Source/Templates/iar/", u""},
      {{u"Source/Templates/arm"}, u"Source/Templates/arm/x.s", u"Source/Templates/arm"},
      {{u"Source/Templates/arm"}, u"CMSIS/Device/ST/STM32F0xx/Source/Templates/arm/x.s", u""},
      {{u"*_template.c"}, u"Src/stm32f0xx_hal_msp_template.c", u"Src/stm32f0xx_hal_msp_template.c"},
      {{u"*_template.c"}, u"Src/stm32f0xx_hal_msp.c", u""},
  });
}

TEST(ExclusionRules, AnyPatternOfSeveralExcludes) {
  const std::vector<wide_path> patterns{u"doc/", u"*.txt", u"Source/Templates/gcc", u"**/Templates/arm"};
  expect_walks({
      {patterns, u"a/doc/x.c", u"a/doc"},
      {patterns, u"a/notes.TXT", u"a/notes.TXT"},
      {patterns, u"Source/Templates/gcc/", u"Source/Templates/gcc"},
      {patterns, u"Source/Templates/arm/", u"Source/Templates/arm"},
      {patterns, u"Source/Templates/iar/x.c", u""},
      {patterns, u"a/doc", u""},
  });
}

TEST(ExclusionRules, PatternsThatNameNothingAreRefused) {
  exclusion_rules rules;
  for (const wide_view pattern : {u"", u"/", u"//", u"\\", u".", u"./", u"/./.", u"..", u"../x", u"a/../b", u"a\\..\\"}) {
    EXPECT_FALSE(add_exclusion_pattern(rules, pattern)) << to_narrow(pattern);
  }
  EXPECT_TRUE(is_empty(rules));
  EXPECT_TRUE(root_exclusion_state(rules).positions.empty());
  EXPECT_TRUE(add_exclusion_pattern(rules, u"..x"));
  EXPECT_TRUE(add_exclusion_pattern(rules, u"...")) << "only \"..\" is the parent";
  EXPECT_FALSE(is_empty(rules));
}

TEST(ExclusionRules, NoPatternsExcludeNothing) {
  const exclusion_rules rules;
  const exclusion_state root = root_exclusion_state(rules);
  EXPECT_TRUE(root.positions.empty());
  exclusion_state child;
  child.positions.assign(3, 7);
  EXPECT_FALSE(is_excluded(rules, root, u"gcc", true, &child));
  EXPECT_TRUE(child.positions.empty());
  EXPECT_EQ(excluded_part(rules, u"a/b/c.c"), u"");
}

TEST(ExclusionRules, ReusedStateIsRefilled) {
  const exclusion_rules rules = compiled({u"a/b/c"});
  exclusion_state child;
  child.positions.assign(5, 0);
  EXPECT_FALSE(is_excluded(rules, root_exclusion_state(rules), u"x", true, &child));
  EXPECT_TRUE(child.positions.empty());
  EXPECT_FALSE(is_excluded(rules, root_exclusion_state(rules), u"a", false, &child));
  EXPECT_TRUE(child.positions.empty()) << "a file has no entries";
  EXPECT_FALSE(is_excluded(rules, root_exclusion_state(rules), u"a", true, &child));
  EXPECT_EQ(child.positions.size(), 1u);
}

TEST(ExclusionRules, StatesStayBoundedInDeepTrees) {
  // Each "**" can be reached from the name before it and by staying; a state
  // holds it once, so a deep run of matching folders does not grow the states.
  const exclusion_rules rules = compiled({u"a/**/a/**/a/**/b", u"**/a/**/d/c"});
  exclusion_state state = root_exclusion_state(rules);
  exclusion_state child;
  for (int depth = 0; depth < 200; ++depth) {
    ASSERT_FALSE(is_excluded(rules, state, u"a", true, &child));
    EXPECT_LE(child.positions.size(), rules.names.size());
    std::swap(state, child);
  }
  EXPECT_TRUE(is_excluded(rules, state, u"b", false, nullptr));
  EXPECT_FALSE(is_excluded(rules, state, u"c", false, nullptr));
  ASSERT_FALSE(is_excluded(rules, state, u"d", true, &child));
  EXPECT_TRUE(is_excluded(rules, child, u"c", false, nullptr));
}

}  // namespace
}  // namespace addfolder
