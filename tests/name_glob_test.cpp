// One name of a pattern against one name: the fast shapes and the general
// matcher agree with a plain recursive reading of the rules.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "name_glob.h"
#include "text_conversion.h"

namespace addfolder {
namespace {

std::u32string characters(wide_view text) {
  std::u32string result;
  for (std::size_t index = 0; index < text.size(); ++index) {
    char32_t c = text[index];
    if (c >= 0xD800 && c <= 0xDBFF && index + 1 < text.size() && text[index + 1] >= 0xDC00 && text[index + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[index + 1] - 0xDC00);
      ++index;
    }
    result += c;
  }
  return result;
}

char32_t lower(char32_t c) { return c >= U'A' && c <= U'Z' ? c + 32 : c; }
char32_t upper(char32_t c) { return c >= U'a' && c <= U'z' ? c - 32 : c; }

// Whether c is in the class written between "[" (and "!" or "^") and the closing "]".
bool in_class(std::u32string_view members, char32_t c) {
  for (std::size_t index = 0; index < members.size(); ++index) {
    char32_t first = members[index];
    char32_t last = first;
    if (index + 2 < members.size() && members[index + 1] == U'-') {
      last = members[index + 2];
      index += 2;
    }
    for (const char32_t candidate : {c, lower(c), upper(c)}) {
      if (candidate >= first && candidate <= last) return true;
    }
  }
  return false;
}

// The rules read as directly as possible: backtracking by recursion, classes parsed at each use.
bool reference_match(std::u32string_view pattern, std::u32string_view name) {
  if (pattern.empty()) return name.empty();
  if (pattern[0] == U'*') return reference_match(pattern.substr(1), name) || (!name.empty() && reference_match(pattern, name.substr(1)));
  if (name.empty()) return false;
  if (pattern[0] == U'?') return reference_match(pattern.substr(1), name.substr(1));
  if (pattern[0] == U'[') {
    const bool negated = pattern.size() > 1 && (pattern[1] == U'!' || pattern[1] == U'^');
    const std::size_t first = negated ? 2 : 1;
    const std::size_t close = pattern.find(U']', first + 1);
    if (close != std::u32string_view::npos) {
      if (in_class(pattern.substr(first, close - first), name[0]) == negated) return false;
      return reference_match(pattern.substr(close + 1), name.substr(1));
    }
  }
  return lower(pattern[0]) == lower(name[0]) && reference_match(pattern.substr(1), name.substr(1));
}

TEST(NameGlob, AgreesWithReferenceOnRandomPatterns) {
  const wide_path pattern_units[] = {u"a", u"A", u"b", u"B", u"z", u"-", u"!", u"^", u"]", u"[", u"*", u"?",
                                     u"\u00e9", u"\u00c9", u"\U0001F600", u"[a-b]", u"[!a]", u"[]"};
  const wide_path name_units[] = {u"a", u"A", u"b", u"B", u"z", u"-", u"!", u"]", u"[", u"\u00e9", u"\u00c9",
                                  u"\U0001F600"};
  std::mt19937 random(12);
  for (int round = 0; round < 20000; ++round) {
    wide_path pattern;
    for (unsigned count = random() % 7; count > 0; --count) pattern += pattern_units[random() % std::size(pattern_units)];
    const name_glob glob = compile_name_glob(pattern);
    for (int name_round = 0; name_round < 8; ++name_round) {
      wide_path name;
      for (unsigned count = 1 + random() % 7; count > 0; --count) name += name_units[random() % std::size(name_units)];
      ASSERT_EQ(matches_name_glob(glob, name), reference_match(characters(pattern), characters(name)))
          << "pattern " << to_narrow(pattern) << ", name " << to_narrow(name);
    }
  }
}

TEST(NameGlob, CommonShapesAvoidTheGeneralMatcher) {
  EXPECT_EQ(compile_name_glob(u"*").shape, name_glob_shape::any_name);
  EXPECT_EQ(compile_name_glob(u"***").shape, name_glob_shape::any_name);
  EXPECT_EQ(compile_name_glob(u"gcc").shape, name_glob_shape::literal);
  EXPECT_EQ(compile_name_glob(u"[gcc").shape, name_glob_shape::literal);
  EXPECT_EQ(compile_name_glob(u"*_template.c").shape, name_glob_shape::suffix);
  EXPECT_EQ(compile_name_glob(u"**.txt").shape, name_glob_shape::suffix);
  EXPECT_EQ(compile_name_glob(u"stm32*").shape, name_glob_shape::prefix);
  EXPECT_EQ(compile_name_glob(u"a*b").shape, name_glob_shape::glob);
  EXPECT_EQ(compile_name_glob(u"*.[ch]").shape, name_glob_shape::glob);
  EXPECT_EQ(compile_name_glob(u"GCC").text, u"gcc");
}

TEST(NameGlob, FastShapesCompareWholeCharacters) {
  EXPECT_TRUE(matches_name_glob(compile_name_glob(u"*.TXT"), u"read.me.txt"));
  EXPECT_FALSE(matches_name_glob(compile_name_glob(u"*.txt"), u"txt"));
  EXPECT_TRUE(matches_name_glob(compile_name_glob(u"*.txt"), u".txt"));
  EXPECT_FALSE(matches_name_glob(compile_name_glob(u"stm32*"), u"stm3"));
  EXPECT_TRUE(matches_name_glob(compile_name_glob(u"stm32*"), u"STM32"));
  EXPECT_FALSE(matches_name_glob(compile_name_glob(u"gcc"), u"gc"));
  EXPECT_FALSE(matches_name_glob(compile_name_glob(u"\u00e9*"), u"\u00c9t\u00e9"));
  EXPECT_TRUE(matches_name_glob(compile_name_glob(u"*\U0001F600"), u"x\U0001F600"));
}

}  // namespace
}  // namespace addfolder
