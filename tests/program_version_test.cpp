// The version that --version shows.
#include <gtest/gtest.h>

#include <algorithm>

#include "program_version.h"

namespace addfolder {
namespace {

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
