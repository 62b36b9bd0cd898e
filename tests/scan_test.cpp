// The source scan and the header scan over real folders, on both hosts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "scan_problem_lines.h"
#include "file_extension.h"
#include "system_error.h"
#include "text_conversion.h"
#include "tests/scan_outcome.h"
#include "tests/test_folder.h"

namespace addfolder {
namespace {

using test_support::describe;
using test_support::from_utf8;
using test_support::scan_every_way;
using test_support::scan_outcome;
using test_support::test_folder;
using test_support::working_directory;
using test_support::write_file;

using paths = std::vector<wide_path>;

// A test folder that is also the working directory, as the project directory is.
class Scan : public ::testing::Test {
 protected:
  void file(const char* relative) { write_file(root_ / relative); }
  void folder(const char* relative) { std::filesystem::create_directories(root_ / relative); }
  void link(const char* target, const char* relative) {
    std::filesystem::create_symlink(from_utf8(target), root_ / relative);
  }
  // Whether this host lets the test make symbolic links (Wine does not).
  bool links_possible(std::string& reason) {
    std::error_code error;
    std::filesystem::create_symlink("target", root_ / "probe", error);
    reason = error.message();
    return !error && std::filesystem::remove(root_ / "probe");
  }

  test_folder root_;
  working_directory cwd_{root_.path()};
};

TEST(FileExtension, FromTheLastDotOfTheName) {
  EXPECT_EQ(path_extension(u"startup.s"), u".s");
  EXPECT_EQ(path_extension(u"a.b.cpp"), u".cpp");
  EXPECT_EQ(path_extension(u"x."), u".");
  EXPECT_EQ(path_extension(u"..c"), u".c");
  EXPECT_EQ(path_extension(u".c"), u"");
  EXPECT_EQ(path_extension(u"Makefile"), u"");
  EXPECT_EQ(path_extension(u"src.d\\Makefile"), u"");
  EXPECT_EQ(path_extension(u"src\\.c"), u"");
  EXPECT_EQ(path_extension(u".\\main.c"), u".c");
}

TEST(FileExtension, ExactTextsOnly) {
  for (const wide_view source : {u".c", u".cc", u".cpp", u".s", u".a"}) EXPECT_TRUE(is_source_extension(source));
  for (const wide_view other : {u".C", u".CPP", u".S", u".cxx", u".h", u"", u"."}) EXPECT_FALSE(is_source_extension(other));
  EXPECT_TRUE(is_header_extension(u".h"));
  EXPECT_TRUE(is_header_extension(u".hpp"));
  for (const wide_view other : {u".H", u".hh", u".hxx", u".c"}) EXPECT_FALSE(is_header_extension(other));
}

TEST_F(Scan, ExtensionsAndLetterCase) {
  for (const char* name : {"src/..c", "src/.c", "src/boot.S", "src/lib.a/inner.c", "src/lib.a/inner.h", "src/main.c",
                           "src/Makefile", "src/start.s", "src/unit.cc", "src/upper/Main.C", "src/upper/Board.H",
                           "src/upper/x.hpp", "src/x.tar.cpp", "src/y.h", "src/y.hpp"}) {
    file(name);
  }
  const scan_outcome outcome = scan_every_way(u"src");
  // The directory lib.a is a source by its name, and is still walked into.
  EXPECT_EQ(outcome.sources, (paths{u"src\\..c", u"src\\lib.a", u"src\\lib.a\\inner.c", u"src\\main.c",
                                    u"src\\start.s", u"src\\unit.cc", u"src\\x.tar.cpp"}));
  EXPECT_EQ(outcome.headers, (paths{u"src", u"src\\lib.a", u"src\\upper"}));
  EXPECT_EQ(outcome.linked_sources, paths{});
  EXPECT_EQ(outcome.errors, "");
}

TEST_F(Scan, WalkOrderComesFromTheListing) {
  for (const char* name : {"src/a.c", "src/sub/b.c", "src/z.c"}) file(name);
  EXPECT_EQ(scan_every_way(u"src").sources, (paths{u"src\\a.c", u"src\\sub\\b.c", u"src\\z.c"}));
}

TEST_F(Scan, FolderOrderIsTheSameOnEveryHost) {
  // Created in another order than NTFS lists them; Linux would list them in hash order.
  for (const char* name : {"~y", "_priv", "[x", "zz", "Zeta", "app", "ab", "A1", "a.b", "a-b", "a b", "1a"}) {
    write_file(root_ / "src" / from_utf8(std::string(name) + ".c"));
  }
  EXPECT_EQ(scan_every_way(u"src").sources,
            (paths{u"src\\1a.c", u"src\\a b.c", u"src\\a-b.c", u"src\\a.b.c", u"src\\A1.c", u"src\\ab.c", u"src\\app.c",
                   u"src\\Zeta.c", u"src\\zz.c", u"src\\[x.c", u"src\\_priv.c", u"src\\~y.c"}));
}

TEST_F(Scan, HeaderDirectoriesInPathOrderEachOnce) {
  for (const char* name : {"src/alpha/a.h", "src/Drivers/d.h", "src/inc/a.h", "src/inc/b.hpp", "src/inc/sub/b.h",
                           "src/inc-old/c.h", "src/include/none.c"}) {
    file(name);
  }
  // The walk meets alpha before Drivers; upper case sorts first in the path order.
  EXPECT_EQ(scan_every_way(u"src").headers,
            (paths{u"src\\Drivers", u"src\\alpha", u"src\\inc", u"src\\inc\\sub", u"src\\inc-old"}));
}

TEST_F(Scan, RootForms) {
  for (const char* name : {"work/main.c", "work/main.h", "work/src/a.c", "work/src/sub/b.h", "sibling/s.c", "sibling/s.h"}) {
    file(name);
  }
  working_directory in_work(root_ / "work");
  scan_outcome outcome = scan_every_way(u".");
  EXPECT_EQ(outcome.sources, (paths{u".\\main.c", u".\\src\\a.c"}));
  EXPECT_EQ(outcome.headers, (paths{u".", u".\\src\\sub"}));
  outcome = scan_every_way(u"..\\sibling");
  EXPECT_EQ(outcome.sources, paths{u"..\\sibling\\s.c"});
  EXPECT_EQ(outcome.headers, paths{u"..\\sibling"});
  // Other spellings of a root are kept as given, and joined with one "\".
  EXPECT_EQ(scan_every_way(u"src\\").sources, paths{u"src\\a.c"});
  EXPECT_EQ(scan_every_way(u"./src").headers, paths{u"./src\\sub"});

  // No folder: every list empty, nothing written.
  for (const wide_path root : {u"", u"main.c", u"missing", u"missing\\deeper", u"main.c\\below"}) {
    EXPECT_EQ(describe(scan_every_way(root)), "") << to_narrow(root);
  }
}

TEST_F(Scan, LinksAreListedButNotEntered) {
  if (std::string reason; !links_possible(reason)) GTEST_SKIP() << "cannot make symbolic links here: " << reason;
  for (const char* name : {"src/real/a.c", "src/real/a.h"}) file(name);
  folder("src/other");
  link("real", "src/alias");
  link("real", "src/alias.a");
  link("real", "src/dirlink.h");
  link("../real/a.h", "src/other/b.h");
  link("../real/a.c", "src/other/c.c");
  link("../nothing.h", "src/other/gone.h");
  const scan_outcome outcome = scan_every_way(u"src");
  EXPECT_EQ(outcome.sources, (paths{u"src\\alias.a", u"src\\other\\c.c", u"src\\real\\a.c"}));
  EXPECT_EQ(outcome.linked_sources, (paths{u"src\\alias.a", u"src\\other\\c.c"}));
  // A link to a header counts; a dangling one and a link to a folder do not.
  EXPECT_EQ(outcome.headers, (paths{u"src\\other", u"src\\real"}));
  EXPECT_EQ(outcome.errors, "");
}

TEST_F(Scan, AHeaderThatCannotBeFollowedIsReportedAndSkipped) {
  if (std::string reason; !links_possible(reason)) GTEST_SKIP() << "cannot make symbolic links here: " << reason;
  for (const char* name : {"src/a/x.h", "src/c/y.h", "src/d.c"}) file(name);
  folder("src/b");
  link("loop.h", "src/b/loop.h");
  const scan_outcome outcome = scan_every_way(u"src");
  EXPECT_EQ(outcome.sources, paths{u"src\\d.c"});
  // The walk goes on past it: c holds a header too.
  EXPECT_EQ(outcome.headers, (paths{u"src\\a", u"src\\c"}));
  std::error_code loop;
  EXPECT_EQ(std::filesystem::status(root_ / "src/b/loop.h", loop).type(), std::filesystem::file_type::none);
  EXPECT_EQ(outcome.errors, "Exception :: status: " + system_message(loop.value()) + ": \"src\\b\\loop.h\"\n");
}

TEST_F(Scan, NonAsciiNamesKeepEveryCharacter) {
  for (const char* name : {"src/caf\xC3\xA9.c", "src/M\xC3\xBCller/\xC3\xBC.h", "src/M\xC3\xBCller/\xE6\x97\xA5\xE6\x9C\xAC.c"}) {
    file(name);
  }
  // A clean walk converts nothing for the error stream, so names outside its code page do no harm.
  const scan_outcome outcome = scan_every_way(u"src");
  EXPECT_EQ(outcome.sources, (paths{u"src\\caf\u00e9.c", u"src\\M\u00fcller\\\u65e5\u672c.c"}));
  EXPECT_EQ(outcome.headers, paths{u"src\\M\u00fcller"});
  EXPECT_EQ(outcome.errors, "");
}

TEST_F(Scan, NameWithoutWideFormIsReportedAndSkipped) {
  if (test_support::on_windows()) GTEST_SKIP() << "Windows names are UTF-16 already";
  file("src/bad/good.c");
  std::ofstream(root_ / "src/bad" / std::filesystem::path(std::string("\xFF.c")));
  ASSERT_EQ(std::distance(std::filesystem::directory_iterator(root_ / "src/bad"), {}), 2);
  const scan_outcome outcome = scan_every_way(u"src");
  EXPECT_EQ(outcome.sources, paths{u"src\\bad\\good.c"});
  const std::string line =
      "Error While Accessing : src\\bad :: " + system_message(unconvertible_character_error()) + "\n";
  EXPECT_EQ(outcome.errors, line + line);
}

TEST_F(Scan, NamesHoldingABackslashAreSkippedWithOneLine) {
  if (test_support::on_windows()) GTEST_SKIP() << "Windows names cannot hold a backslash";
  file("lib/a.c");
  file("lib/y\\z.c");
  file("lib/a\\b/inside.c");
  file("lib/a\\b/inside.h");
  file("lib/hal/gpio.h");
  const scan_outcome outcome = scan_every_way(u"lib");
  EXPECT_EQ(outcome.sources, paths{u"lib\\a.c"});
  EXPECT_EQ(outcome.headers, paths{u"lib\\hal"});
  const std::string why = ": a name that holds \"\\\" cannot be named in a Windows project\n";
  EXPECT_EQ(outcome.errors, "Skipped \"a\\b\" in lib" + why + "Skipped \"y\\z.c\" in lib" + why);
}

// A chain of folders "d" below a folder, removed from the bottom up: removing
// a whole tree cannot reach this deep on every host.
struct folder_chain {
  std::filesystem::path bottom;
  int levels = 0;
  ~folder_chain() {
    std::error_code ignored;
    std::filesystem::remove(bottom / "x.c", ignored);
    std::filesystem::remove(bottom / "x.h", ignored);
    for (; levels > 0; --levels, bottom = bottom.parent_path()) std::filesystem::remove(bottom, ignored);
  }
};

TEST_F(Scan, DeepTreesDoNotExhaustTheStack) {
  // Wine looks up every folder of a path anew, so a chain 2000 deep takes it
  // minutes to make; 200 still takes its paths past the classic length limit.
  const int depth = test_support::on_windows() ? 200 : 2000;
  // Windows needs the long-path form to make folders this deep.
  const std::wstring prefix = test_support::on_windows() ? L"\\\\?\\" : L"";
  folder_chain chain{prefix + root_.path().wstring()};
  wide_path deep = u"deep";
  for (int level = 0; level <= depth; ++level) {
    chain.bottom /= level == 0 ? "deep" : "d";
    if (level > 0) deep += u"\\d";
    std::error_code error;
    std::filesystem::create_directory(chain.bottom, error);
    if (error) GTEST_SKIP() << "cannot make a tree " << depth << " deep here: " << error.message();
    ++chain.levels;
  }
  std::ofstream(chain.bottom / "x.c").put('\n');
  std::ofstream(chain.bottom / "x.h").put('\n');
  const scan_outcome outcome = scan_every_way(u"deep");
  EXPECT_EQ(outcome.sources, paths{deep + u"\\x.c"});
  EXPECT_EQ(outcome.headers, paths{deep});
  EXPECT_EQ(outcome.errors, "");
}

TEST_F(Scan, TreesThatKeepManyFoldersOpenAreWalkedWhole) {
  // Each level holds "a", which goes on, and "b", entered after the whole of
  // "a": every level waits with a folder still to open, more of them than the
  // walk keeps open at once.
  const int depth = test_support::on_windows() ? 20 : 300;
  std::string level = "wide";
  for (int i = 0; i < depth; ++i) {
    file((level + "/b/x.c").c_str());
    level += "/a";
  }
  const scan_outcome outcome = scan_every_way(u"wide");
  EXPECT_EQ(outcome.sources.size(), static_cast<std::size_t>(depth));
  EXPECT_EQ(outcome.errors, "");
}

scan_problem unreadable(wide_view folder, int code) {
  return scan_problem{scan_problem_kind::unreadable_folder, wide_path(folder), {}, {}, code};
}

scan_problem failed(wide_view path, const char* operation, int code, bool met_by_sources = true) {
  return scan_problem{scan_problem_kind::failed_call, wide_path(path), operation, {}, code, met_by_sources, true};
}

TEST(ScanProblemLines, AccessErrorNamesThePathAndTheSystemMessage) {
  EXPECT_EQ(scan_problem_lines({unreadable(u"src\\locked", 2)}),
            "Error While Accessing : src\\locked :: " + system_message(2) + "\n" +
                "Error While Accessing : src\\locked :: " + system_message(2) + "\n");
}

TEST(ScanProblemLines, TheSourceFilesLinesComeFirstThenTheHeaders) {
  scan_problem header_only = unreadable(u"src\\later", 3);
  header_only.met_by_headers = false;
  EXPECT_EQ(scan_problem_lines({failed(u"src", "exists", 2), failed(u"src\\x.h", "status", 2, false), header_only}),
            "Exception :: exists: " + system_message(2) + ": \"src\"\n" + "Error While Accessing : src\\later :: " +
                system_message(3) + "\n" + "Exception :: exists: " + system_message(2) + ": \"src\"\n" +
                "Exception :: status: " + system_message(2) + ": \"src\\x.h\"\n");
}

TEST(ScanProblemLines, PathWithoutNarrowFormGivesTheConversionsExceptionLine) {
  const std::string conversion = "Exception :: " + system_message(unconvertible_character_error()) + "\n";
  const wide_path path = u"src\\" + wide_path(1, char16_t(0xD800));
  scan_problem access = unreadable(path, 5);
  access.met_by_headers = false;
  const std::string lines = scan_problem_lines({access, failed(path, "status", 5, false)});
  EXPECT_EQ(lines, "Error While Accessing : " + conversion + conversion);
  EXPECT_EQ(lines.find('?'), std::string::npos);
}

}  // namespace
}  // namespace addfolder
