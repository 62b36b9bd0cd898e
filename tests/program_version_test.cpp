// Which command lines ask for the version instead of a run.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/program_version.h"

namespace addfolder {
namespace {

TEST(ProgramVersion, TheOptionCountsWhereverItStands) {
  EXPECT_TRUE(asks_for_version({u"addfolder", u"--version"}));
  EXPECT_TRUE(asks_for_version({u"addfolder", u"C:\\work\\blinky", u"blinky", u"--version"}));
  EXPECT_TRUE(asks_for_version({u"addfolder", u"--version", u"blinky"}));
}

TEST(ProgramVersion, OtherArgumentsAndTheProgramNameDoNot) {
  EXPECT_FALSE(asks_for_version({u"addfolder", u"C:\\work\\blinky", u"blinky"}));
  EXPECT_FALSE(asks_for_version({u"addfolder", u"--versions", u"-version", u"--VERSION"}));
  // Element 0 is the program itself, whatever its file is called.
  EXPECT_FALSE(asks_for_version({u"--version"}));
  EXPECT_FALSE(asks_for_version({}));
}

TEST(ProgramVersion, TextIsTheNameAndThreeNumbers) {
  const std::u16string text = version_text();
  ASSERT_EQ(text.rfind(u"addfolder ", 0), 0u) << "the text starts with the program name";
  const std::u16string number = text.substr(10);
  EXPECT_EQ(std::count(number.begin(), number.end(), u'.'), 2);
  const auto digit_or_dot = [](char16_t c) { return c == u'.' || (c >= u'0' && c <= u'9'); };
  EXPECT_TRUE(std::all_of(number.begin(), number.end(), digit_or_dot))
      << "not a version number: " << std::string(number.begin(), number.end());
}

}  // namespace
}  // namespace addfolder
