// The two arguments of the command line.
#include <gtest/gtest.h>

#include "app/command_line.h"

namespace addfolder {
namespace {

TEST(CommandLine, TakesTheFirstTwoArgumentsAndIgnoresTheRest) {
  command_arguments arguments;
  ASSERT_TRUE(read_arguments({u"addfolder", u"C:\\work\\blinky", u"blinky", u"extra"}, arguments));
  EXPECT_EQ(arguments.project_directory, u"C:\\work\\blinky");
  EXPECT_EQ(arguments.project_name, u"blinky");
}

TEST(CommandLine, FewerThanTwoArgumentsAreRefused) {
  command_arguments arguments;
  EXPECT_FALSE(read_arguments({u"addfolder", u"C:\\work\\blinky"}, arguments));
  EXPECT_FALSE(read_arguments({u"addfolder"}, arguments));
  EXPECT_FALSE(read_arguments({}, arguments));
}

}  // namespace
}  // namespace addfolder
