// The command line: the two arguments, the options, and what is refused.
#include <gtest/gtest.h>

#include "command_line.h"

namespace addfolder {
namespace {

struct parsed_line {
  bool ok = false;
  command_line line;
  wide_text error;
};

parsed_line parse(std::vector<wide_text> arguments) {
  arguments.insert(arguments.begin(), u"addfolder");
  parsed_line parsed;
  const run_outcome outcome = parse_command_line(arguments, parsed.line);
  parsed.ok = !outcome.failed();
  parsed.error = outcome.message;
  return parsed;
}

std::string narrow(const wide_text& text) { return std::string(text.begin(), text.end()); }

TEST(CommandLine, TakesTheFirstTwoArgumentsAndIgnoresLaterOnes) {
  const parsed_line parsed = parse({u"C:\\work\\blinky", u"blinky", u"extra", u"-x"});
  ASSERT_TRUE(parsed.ok) << narrow(parsed.error);
  EXPECT_EQ(parsed.line.request, command_request::run);
  EXPECT_EQ(parsed.line.arguments.project_directory, u"C:\\work\\blinky");
  EXPECT_EQ(parsed.line.arguments.project_name, u"blinky");
  EXPECT_TRUE(parsed.line.folders.empty() && parsed.line.remove_folders.empty());
  EXPECT_FALSE(parsed.line.prune || parsed.line.dry_run || parsed.line.check || parsed.line.quiet || parsed.line.sync ||
               parsed.line.save);
}

TEST(CommandLine, OptionsStandBeforeOrAfterTheArguments) {
  const parsed_line parsed =
      parse({u"--folder", u"Drivers", u"--exclude", u"gcc/", u".", u"--prune", u"blinky", u"--exclude", u"*_template.c",
             u"--exclude-from", u"sync.txt", u"--dry-run", u"--check", u"--quiet", u"ignored", u"--jobs", u"64",
             u"--remove", u"Old", u"--folder", u"App", u"--save", u"--remove", u"Gone",
             u"--groups", u"tree", u"--base", u"CUBE=C:\\ST\\Cube", u"--base", u"rtos_2=a=b"});
  ASSERT_TRUE(parsed.ok) << narrow(parsed.error);
  EXPECT_EQ(parsed.line.arguments.project_directory, u".");
  EXPECT_EQ(parsed.line.arguments.project_name, u"blinky");
  EXPECT_EQ(parsed.line.folders, (std::vector<wide_path>{u"Drivers", u"App"}));
  EXPECT_EQ(parsed.line.remove_folders, (std::vector<wide_path>{u"Old", u"Gone"}));
  EXPECT_TRUE(parsed.line.save);
  EXPECT_EQ(parsed.line.exclude_patterns, (std::vector<wide_text>{u"gcc/", u"*_template.c"}));
  EXPECT_EQ(parsed.line.exclude_files, std::vector<wide_path>{u"sync.txt"});
  EXPECT_TRUE(parsed.line.prune && parsed.line.dry_run && parsed.line.check && parsed.line.quiet);
  EXPECT_EQ(parsed.line.jobs, 64u);
  EXPECT_EQ(parsed.line.groups, group_layout::tree);
  ASSERT_EQ(parsed.line.bases.size(), 2u);
  EXPECT_EQ(parsed.line.bases[0].name + u" " + parsed.line.bases[0].directory, u"CUBE C:\\ST\\Cube");
  EXPECT_EQ(parsed.line.bases[1].name + u" " + parsed.line.bases[1].directory, u"rtos_2 a=b");
}

TEST(CommandLine, UsageErrorsNameWhatIsWrong) {
  const struct {
    std::vector<wide_text> arguments;
    const char* error;
  } cases[] = {
      {{u"C:\\work\\blinky"}, "Expected two arguments: the project directory and the project name."},
      {{}, "Expected two arguments: the project directory and the project name."},
      {{u".", u"blinky", u"--frobnicate"}, "Unknown option: --frobnicate"},
      {{u".", u"blinky", u"--folder=Drivers"}, "Unknown option: --folder=Drivers"},
      {{u".", u"blinky", u"--"}, "Unknown option: --"},
      {{u".", u"blinky", u"--folder"}, "The option --folder needs a value."},
      {{u".", u"blinky", u"--exclude", u"--prune"}, "The option --exclude needs a value."},
      {{u".", u"blinky", u"--exclude-from"}, "The option --exclude-from needs a value."},
      {{u".", u"blinky", u"--jobs"}, "The option --jobs needs a value."},
      {{u".", u"blinky", u"--jobs", u"0"}, "The option --jobs needs a number from 1 to 64: 0"},
      {{u".", u"blinky", u"--jobs", u"65"}, "The option --jobs needs a number from 1 to 64: 65"},
      {{u".", u"blinky", u"--jobs", u"2x"}, "The option --jobs needs a number from 1 to 64: 2x"},
      {{u".", u"blinky", u"--groups", u"nested"}, "The option --groups needs tree or flat: nested"},
      {{u".", u"blinky", u"--base", u"SDK"}, "The option --base needs NAME=DIR: SDK"},
      {{u".", u"blinky", u"--base", u"SDK="}, "The option --base needs NAME=DIR: SDK="},
      {{u".", u"blinky", u"--base", u"=C:\\SDK"}, "Invalid argument variable: "},
      {{u".", u"blinky", u"--base", u"MY-SDK=x"}, "Invalid argument variable: MY-SDK"},
      {{u".", u"blinky", u"--base", u"Toolkit_Dir=x"}, "Invalid argument variable: Toolkit_Dir"},
      {{u".", u"blinky", u"--base", u"_HOME_=x"}, "Invalid argument variable: _HOME_"},
      {{u".", u"blinky", u"--base", u"SDK=a", u"--base", u"Sdk=b"}, "The argument variable Sdk is given twice."},
      {{u".", u"blinky", u"--remove"}, "The option --remove needs a value."},
      {{u".", u"blinky", u"--folder", u"App", u"--sync"}, "The options --sync and --folder cannot be given together."},
      {{u".", u"blinky", u"--save", u"--sync"}, "The options --sync and --save cannot be given together."},
      {{u".", u"blinky", u"--save", u"--exclude-from", u"a", u"--exclude-from", u"b"},
       "The option --save records one --exclude-from for a folder; put the patterns in one file."},
      // The first problem is the one told.
      {{u"--bad", u"--folder"}, "Unknown option: --bad"},
  };
  for (const auto& example : cases) {
    const parsed_line parsed = parse(example.arguments);
    EXPECT_FALSE(parsed.ok);
    EXPECT_EQ(narrow(parsed.error), example.error);
  }
}

TEST(CommandLine, ABackslashBeforeAClosingQuoteIsRefused) {
  // Windows splits a batch file's line so that \" is a quote in the value,
  // which then swallows the rest of the line.
  const struct {
    const char16_t* line;
    std::vector<wide_text> split;
    const char* error;
  } cases[] = {
      {uR"(a.exe . blinky --folder Drivers --exclude "gcc\" --dry-run)",
       {u".", u"blinky", u"--folder", u"Drivers", u"--exclude", uR"(gcc" --dry-run)"},
       R"(Invalid pattern: gcc" --dry-run (a \ before a closing quote escapes the quote; write gcc/ or "gcc\\"))"},
      {uR"(a.exe . blinky --folder "Drivers\" --check)", {u".", u"blinky", u"--folder", uR"(Drivers" --check)"},
       R"(Invalid pattern: Drivers" --check (a \ before a closing quote escapes the quote; write Drivers/ or "Drivers\\"))"},
      {uR"(a.exe . blinky --exclude-from "my lists\" --prune)", {u".", u"blinky", u"--exclude-from", uR"(my lists" --prune)"},
       R"(Invalid pattern: my lists" --prune (a \ before a closing quote escapes the quote; write my lists/ or "my lists\\"))"},
      // Written as Windows wants it, the backslash stays and the options count.
      {uR"(a.exe . blinky --exclude "gcc\\" --dry-run)", {u".", u"blinky", u"--exclude", uR"(gcc\)", u"--dry-run"}, ""},
      {uR"(a.exe . blinky --exclude gcc/ --folder "My Drivers" --check)",
       {u".", u"blinky", u"--exclude", u"gcc/", u"--folder", u"My Drivers", u"--check"}, ""},
  };
  for (const auto& example : cases) {
#ifdef _WIN32
    std::vector<wide_text> split;
    ASSERT_TRUE(split_command_line(example.line, split));
    split.erase(split.begin());
    EXPECT_EQ(split, example.split) << narrow(example.line);
#endif
    const parsed_line parsed = parse(example.split);
    EXPECT_EQ(parsed.ok, *example.error == '\0') << narrow(example.line);
    EXPECT_EQ(narrow(parsed.error), example.error);
  }
}

TEST(CommandLine, HelpAndVersionAreAnsweredWhateverElseStands) {
  EXPECT_EQ(parse({u"--help"}).line.request, command_request::help);
  EXPECT_EQ(parse({u"-h", u"--frobnicate"}).line.request, command_request::help);
  EXPECT_EQ(parse({u"--version"}).line.request, command_request::version);
  EXPECT_EQ(parse({u".", u"blinky", u"--version", u"--folder"}).line.request, command_request::version);
  EXPECT_EQ(parse({u"--version", u"--help"}).line.request, command_request::help);
  for (const wide_text almost : {u"--versions", u"-version", u"--VERSION", u"-help"}) {
    EXPECT_EQ(parse({u".", u"blinky", almost}).line.request, command_request::run) << narrow(almost);
  }
  // The program itself is element 0, whatever its file is called.
  command_line line;
  EXPECT_EQ(parse_command_line({u"--version"}, line).exit_code, exit_command_line_error);
}

}  // namespace
}  // namespace addfolder
