// The names of the hidden files that saves make, told exactly from every
// look-alike on both hosts' naming, and the clearing of those that killed
// runs left.
#include <gtest/gtest.h>

#include "file_access.h"
#include "leftover_files.h"
#include "text_conversion.h"
#include "tests/test_folder.h"

namespace addfolder {
namespace {

using test_support::names_in;
using test_support::on_windows;
using test_support::read_file;
using test_support::test_folder;
using test_support::to_wide_path;
using test_support::write_file;

bool posix_leftover(const char* name, const char* file_name = "p.ewp") {
  return is_leftover_name(to_wide(name), to_wide(file_name), beside_naming::posix);
}

bool win32_leftover(const char* name, const char* file_name = "p.ewp") {
  return is_leftover_name(to_wide(name), to_wide(file_name), beside_naming::win32);
}

TEST(LeftoverName, EveryNameThatASaveMakesIsALeftover) {
  for (const char* extension : {temporary_extension, kept_extension}) {
    EXPECT_TRUE(posix_leftover(("." "p.ewp" + unique_name_suffix(extension)).c_str()));
    EXPECT_TRUE(win32_leftover(("p.ewp" + unique_name_suffix(extension)).c_str()));
  }
  EXPECT_TRUE(win32_leftover(("p.ewp" + unique_name_suffix(backup_extension)).c_str()));
  EXPECT_TRUE(posix_leftover(".p.ewp.0-0.tmp"));
  EXPECT_TRUE(posix_leftover(".p.ewp.ffffffffff-ffffffff.old"));
  EXPECT_TRUE(posix_leftover(".p.ewp.5f3a9c0e12-1a.tmp"));
  EXPECT_TRUE(win32_leftover("p.ewp.5f3a9c-1.bak"));
  // Windows compares names without case; the suffix is always written alike.
  EXPECT_TRUE(win32_leftover("P.EWP.5f3a9c-1.tmp"));
  EXPECT_TRUE(win32_leftover("\xC3\x84.ewp.5f-1.tmp", "\xC3\xA4.ewp"));
  EXPECT_TRUE(posix_leftover(".blinky project.ewp.5f-1.tmp", "blinky project.ewp"));
}

TEST(LeftoverName, LookAlikesAreNot) {
  const char* const look_alikes[] = {
      // Not this file's, or not hidden.
      "", ".p.ewp", ".p.ewp.lock", "p.ewp.5f-1.tmp", "..p.ewp.5f-1.tmp", ".q.ewp.5f-1.tmp", ".p.ewpx.5f-1.tmp",
      ".p.ew.5f-1.tmp", ".xp.ewp.5f-1.tmp", ".P.EWP.5f-1.tmp",
      // Another ending; no POSIX save makes a backup.
      ".p.ewp.5f-1", ".p.ewp.5f-1.tmp~", ".p.ewp.5f-1.tmp.tmp", ".p.ewp.5f-1.TMP", ".p.ewp.5f-1.bak",
      // Numbers that "%x" never writes: upper case, none, a leading zero, more digits than the parts have.
      ".p.ewp.5F-1.tmp", ".p.ewp.5f-1A.tmp", ".p.ewp.5g-1.tmp", ".p.ewp.-1.tmp", ".p.ewp.5f-.tmp", ".p.ewp.05f-1.tmp",
      ".p.ewp.5f-01.tmp", ".p.ewp.12345678901-1.tmp", ".p.ewp.1-123456789.tmp",
      // Separators missing, doubled or changed.
      ".p.ewp.5f1.tmp", ".p.ewp.5f--1.tmp", ".p.ewp..5f-1.tmp", ".p.ewp 5f-1.tmp",
  };
  for (const char* name : look_alikes) EXPECT_FALSE(posix_leftover(name)) << name;
  for (const char* name : {"", "p.ewp", ".p.ewp.5f-1.tmp", "p.ewp.5f-1.TMP", "p.ewp.5F-1.bak", "p.ewp.5f1.old",
                           "p.ewp.lock", "q.ewp.5f-1.tmp", "p.ewp.5f-1.tmp.old", "p.ewpp.5f-1.tmp"}) {
    EXPECT_FALSE(win32_leftover(name)) << name;
  }
  // Letters without an upper case of their own stay apart (U+00DF, U+1E9E).
  EXPECT_FALSE(win32_leftover("\xC3\x9F.ewp.5f-1.tmp", "\xE1\xBA\x9E.ewp"));
  EXPECT_FALSE(posix_leftover(".5f-1.tmp", ""));
  EXPECT_FALSE(win32_leftover(".5f-1.tmp", ""));
}

// A folder as runs killed in the middle of saves leave it, with look-alikes
// beside their leftovers.
class LeftoverFiles : public ::testing::Test {
 protected:
  void SetUp() override { write_file(project_, "project"); }

  // A name as this host's saves make it for a file name.
  static std::string leftover_name(const std::string& file_name, const std::string& suffix) {
    return (on_windows() ? "" : ".") + file_name + suffix;
  }

  test_folder folder_;
  std::filesystem::path project_ = folder_ / "blinky.ewp";
};

TEST_F(LeftoverFiles, LeftoversOfBothFilesGoAndEverythingElseStays) {
  wide_path kept;
  ASSERT_TRUE(keep_old_file(to_wide_path(project_), kept));
  const std::set<std::string> leftovers = {
      leftover_name("blinky.ewp", ".1f-0.tmp"),
      leftover_name("blinky.ewp", ".ffffffffff-ffffffff.old"),
      leftover_name("blinky.ipcf", ".2a-3.tmp"),
  };
  const std::set<std::string> staying = {
      "blinky.ewp",
      "blinky.ipcf",
      leftover_name("blinky.ewp", ".1A-0.tmp"),
      leftover_name("blinky.ewp", ".1f0.tmp"),
      leftover_name("blinky.ewp", ".1f-0.tmpx"),
      leftover_name("other.ewp", ".1f-0.tmp"),
      ".blinky.ewp.lock",
      on_windows() ? ".blinky.ewp.1f-0.tmp" : "blinky.ewp.1f-0.tmp",
  };
  for (const std::string& name : leftovers) write_file(folder_ / name.c_str(), "part");
  for (const std::string& name : staying) {
    if (name != "blinky.ewp") write_file(folder_ / name.c_str(), "mine");
  }
  const std::string matching_folder = leftover_name("blinky.ewp", ".3-3.tmp");
  std::filesystem::create_directory(folder_ / matching_folder.c_str());

  remove_leftover_files(to_wide_path(project_));
  remove_leftover_files(to_wide_path(folder_ / "blinky.ipcf"));
  std::set<std::string> expected = staying;
  expected.insert(matching_folder);
  EXPECT_EQ(names_in(folder_.path()), expected);
  EXPECT_EQ(read_file(project_), "project");
  EXPECT_EQ(read_file(folder_ / "blinky.ipcf"), "mine");
}

TEST_F(LeftoverFiles, AFileNotMadeYetHasItsLeftoversClearedToo) {
  // A run killed while it created the connection file.
  const std::string leftover = leftover_name("blinky.ipcf", ".2a-3.tmp");
  write_file(folder_ / leftover.c_str(), "part");
  test_support::working_directory inside(folder_.path());
  remove_leftover_files(u"blinky.ipcf");
  EXPECT_EQ(names_in(folder_.path()), std::set<std::string>{"blinky.ewp"});
}

TEST_F(LeftoverFiles, LeftoversAreClearedBesideTheTargetOfALinkAndLinksStay) {
  test_folder elsewhere;
  std::error_code error;
  std::filesystem::create_symlink(project_, elsewhere / "linked.ewp", error);
  if (error) GTEST_SKIP() << "cannot create a link here: " << error.message();
  // The saves write through the link, so their leftovers lie beside the target.
  write_file(folder_ / ".blinky.ewp.1-1.old", "part");
  write_file(elsewhere / ".linked.ewp.1-1.old", "not this program's");
  // A link is no leftover, whatever it is called and wherever it leads.
  write_file(folder_ / "target");
  std::filesystem::create_symlink(folder_ / "target", folder_ / ".blinky.ewp.2-2.tmp");
  remove_leftover_files(to_wide_path(elsewhere / "linked.ewp"));
  EXPECT_EQ(names_in(folder_.path()), (std::set<std::string>{".blinky.ewp.2-2.tmp", "blinky.ewp", "target"}));
  EXPECT_EQ(names_in(elsewhere.path()), (std::set<std::string>{".linked.ewp.1-1.old", "linked.ewp"}));
}

}  // namespace
}  // namespace addfolder
