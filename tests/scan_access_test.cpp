// Folders that the user may not read. Root reads every folder, so when the
// tests run as root the scans run again as the unprivileged user "nobody".
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "system_error.h"
#include "tests/scan_outcome.h"
#include "tests/test_folder.h"

namespace addfolder {
namespace {

using test_support::describe;
using test_support::scan_every_way;
using test_support::test_folder;
using test_support::write_file;
namespace fs = std::filesystem;

constexpr const char* result_variable = "ADDFOLDER_SCAN_RESULT";
constexpr const char* child_test = "UnreadableFolders.DISABLED_ScanAsTheUserStartingIt";

// Both roots of the tree below, scanned by the current user.
std::string scan_both_roots() {
  return describe(scan_every_way(u"tree")) + "--\n" + describe(scan_every_way(u"tree\\b_locked"));
}

// tree: a.c, b_locked (unreadable), c with inc.h and x.h (a link into
// b_locked), d.c, e_locked (unreadable), f.c.
void make_tree(const test_folder& root) {
  for (const char* name : {"tree/a.c", "tree/b_locked/hidden.c", "tree/b_locked/hidden.h", "tree/c/inc.h", "tree/d.c",
                           "tree/f.c"}) {
    write_file(root / name);
  }
  fs::create_directories(root / "tree/e_locked");
  fs::create_symlink("../b_locked/hidden.h", root / "tree/c/x.h");
  fs::permissions(root / "tree/b_locked", fs::perms::none);
  fs::permissions(root / "tree/e_locked", fs::perms::none);
}

std::string expected_scans() {
  const std::string denied = system_message(EACCES);
  const std::string b_locked = "Error While Accessing : tree\\b_locked :: " + denied + "\n";
  const std::string e_locked = "Error While Accessing : tree\\e_locked :: " + denied + "\n";
  const std::string unlisted =
      "Exception :: recursive_directory_iterator::recursive_directory_iterator: " + denied + ": \"tree\\b_locked\"\n";
  // The walk goes on after each unreadable folder, and after the header x.h,
  // which cannot be followed.
  return "source tree\\a.c\nsource tree\\d.c\nsource tree\\f.c\nheader tree\\c\n" + b_locked + e_locked + b_locked +
         "Exception :: status: " + denied + ": \"tree\\c\\x.h\"\n" + e_locked + "--\n" + unlisted + unlisted;
}

// Runs this test program's child test as nobody; returns what it scanned.
std::string scan_as_nobody(const test_folder& root, std::string& skip_reason) {
  if (std::system("command -v setpriv >/dev/null 2>&1") != 0) {
    skip_reason = "the tests run as root and setpriv (util-linux) is missing";
    return {};
  }
  const fs::path result = root / "result.txt";
  const fs::path log = root / "child.log";
  write_file(result);
  fs::permissions(result, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read |
                              fs::perms::others_write | fs::perms::group_read | fs::perms::group_write);
  const std::string command = "cd '" + root.path().string() + "' && " + result_variable + "='" + result.string() +
                              "' setpriv --reuid=nobody --regid=nogroup --clear-groups '" +
                              fs::read_symlink("/proc/self/exe").string() +
                              "' --gtest_also_run_disabled_tests --gtest_filter=" + child_test + " >'" + log.string() +
                              "' 2>&1";
  const int status = std::system(command.c_str());
  EXPECT_EQ(status, 0) << "the scan as nobody failed:\n" << test_support::read_file(log);
  return test_support::read_file(result);
}

TEST(UnreadableFolders, AreReportedAndSkipped) {
  if (test_support::on_windows()) GTEST_SKIP() << "access rights cannot be withheld from a Windows test here";
  test_folder root;
  make_tree(root);
  std::error_code denied;
  fs::directory_iterator probe(root / "tree/b_locked", denied);
  if (denied) {
    test_support::working_directory cwd(root.path());
    EXPECT_EQ(scan_both_roots(), expected_scans());
  } else {
    std::string skip_reason;
    const std::string scanned = scan_as_nobody(root, skip_reason);
    if (!skip_reason.empty()) GTEST_SKIP() << skip_reason;
    EXPECT_EQ(scanned, expected_scans());
  }
  fs::permissions(root / "tree/b_locked", fs::perms::owner_all);
  fs::permissions(root / "tree/e_locked", fs::perms::owner_all);
}

// Started by the test above as an unprivileged user; not run on its own.
TEST(UnreadableFolders, DISABLED_ScanAsTheUserStartingIt) {
  const char* result = std::getenv(result_variable);
  if (result == nullptr) GTEST_SKIP() << "runs only when started by UnreadableFolders.AreReportedAndSkipped";
  write_file(test_support::from_utf8(result), scan_both_roots());
}

}  // namespace
}  // namespace addfolder
