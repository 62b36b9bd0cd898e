// Relative forms against real folders, on both hosts.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "relative_form.h"
#include "system_error.h"
#include "text_conversion.h"
#include "tests/test_folder.h"

namespace addfolder {
namespace {

using test_support::test_folder;
using test_support::to_wide_path;
using test_support::working_directory;
using test_support::write_file;

// C:\work\blinky of the examples, with the working directory in blinky.
std::filesystem::path make_blinky_tree(const test_folder& root) {
  write_file(root / "work/blinky/src/drivers/uart.c");
  write_file(root / "work/blinky/src/board.h");
  write_file(root / "work/blinky/main.c");
  write_file(root / "work/lib/board.c");
  return root / "work/blinky";
}

class RelativeForm : public ::testing::Test {
 protected:
  wide_path wide(const char* relative) const { return to_wide_path(root_ / relative); }

  test_folder root_;
  working_directory cwd_{make_blinky_tree(root_)};
};

TEST_F(RelativeForm, WorkingDirectoryItsChildrenAndParents) {
  EXPECT_EQ(relative_form(wide("work/blinky")), u".");
  EXPECT_EQ(relative_form(u"."), u".");
  EXPECT_EQ(relative_form(wide("work/blinky/src/drivers")), u"src\\drivers");
  EXPECT_EQ(relative_form(wide("work/lib/board.c")), u"..\\lib\\board.c");
  EXPECT_EQ(relative_form(wide("work")), u"..");
  EXPECT_EQ(relative_form(wide("")), u"..\\..");
  EXPECT_EQ(path_text(relative_form(u".")), "$PROJ_DIR$\\.");
  EXPECT_EQ(path_text(relative_form(wide("work/lib/board.c"))), "$PROJ_DIR$\\..\\lib\\board.c");
}

TEST_F(RelativeForm, RelativeInputsInEverySpelling) {
  EXPECT_EQ(relative_form(u"src\\drivers\\uart.c"), u"src\\drivers\\uart.c");
  EXPECT_EQ(relative_form(u".\\main.c"), u"main.c");
  EXPECT_EQ(relative_form(u"src/./drivers/../board.h"), u"src\\board.h");
  EXPECT_EQ(relative_form(u"..\\lib"), u"..\\lib");
}

TEST_F(RelativeForm, MissingPathsKeepTheirNames) {
  EXPECT_EQ(relative_form(u"src\\new\\file.c"), u"src\\new\\file.c");
  EXPECT_EQ(relative_form(wide("work/blinky/gone/x.c")), u"gone\\x.c");
  EXPECT_EQ(relative_form(u""), u"");
  // A relative path whose first name does not exist has no relative form.
  EXPECT_EQ(relative_form(u"nothing\\here"), u"");
}

TEST_F(RelativeForm, LinksLeadToTheirTarget) {
  std::error_code error;
  std::filesystem::create_directory_symlink(root_ / "work/lib", root_ / "work/blinky/linked", error);
  if (error) GTEST_SKIP() << "cannot create a directory link here: " << error.message();
  EXPECT_EQ(relative_form(u"linked"), u"..\\lib");
  EXPECT_EQ(relative_form(u"linked\\board.c"), u"..\\lib\\board.c");
}

TEST_F(RelativeForm, NonAsciiNamesOnBothHosts) {
  const auto folder = root_ / test_support::from_utf8("work/blinky/M\xC3\xBCller/\xE6\x97\xA5\xE6\x9C\xAC");
  std::filesystem::create_directories(folder);
  const wide_path relative = relative_form(to_wide_path(folder));
  EXPECT_EQ(relative, u"M\u00fcller\\\u65e5\u672c");
  EXPECT_EQ(path_text(relative), "$PROJ_DIR$\\M\xC3\xBCller\\\xE6\x97\xA5\xE6\x9C\xAC");
}

TEST_F(RelativeForm, FormsDerivedFromTheParentsAnswerAsRelativeForm) {
  std::filesystem::create_directories(root_ / "work/blinky/src/deep/er");
  const wide_path working_directory = weakly_canonical(current_path());
  // Without bases, and with two, one inside the other: the deepest names a path.
  text_roots with_bases = project_roots(working_directory);
  with_bases.push_back({variable_macro("WORK"), weakly_canonical(wide("work"))});
  with_bases.push_back({variable_macro("SRC"), weakly_canonical(wide("work/blinky/src"))});
  for (const text_roots& roots : {project_roots(working_directory), with_bases}) {
    for (const wide_path root : {u".", u"src", u"..\\lib", u"..", u"..\\blinky\\src", u"..\\.."}) {
      SCOPED_TRACE(std::to_string(roots.size()) + " roots, " + to_narrow(root));
      std::map<wide_path, folder_forms> folders{{root, resolve_folder_forms(root, roots)}};
      if (roots.size() == 1) {
        EXPECT_EQ(folders[root].relative, relative_form(root));
      }
      // Every folder and file that a walk from this root meets, spelled as the
      // walk spells it, parents before their entries.
      std::u16string native_root = root;
      std::replace(native_root.begin(), native_root.end(), u'\\', u'/');
      const std::filesystem::path walked(native_root);
      for (const auto& item : std::filesystem::recursive_directory_iterator(walked)) {
        const wide_path entry = root + u"\\" + to_wide_path(item.path().lexically_relative(walked));
        const folder_forms& parent = folders.at(wide_path(parent_path(entry)));
        const folder_forms resolved = resolve_folder_forms(entry, roots);
        if (item.is_directory()) {
          derive_subfolder_forms(parent, file_name(entry), roots, folders[entry]);
          EXPECT_EQ(folders[entry].root, resolved.root) << to_narrow(entry);
          EXPECT_EQ(folders[entry].relative, resolved.relative) << to_narrow(entry);
        } else {
          // A file's relative form is its folder's and its name.
          wide_path relative = parent.relative == u"." ? wide_path() : parent.relative;
          append_element(relative, file_name(entry));
          EXPECT_EQ(relative, resolved.relative) << to_narrow(entry);
        }
        if (roots.size() == 1) {
          EXPECT_EQ(resolved.relative, relative_form(entry)) << to_narrow(entry);
        }
      }
    }
  }
  EXPECT_EQ(resolve_folder_forms(u"src\\deep", with_bases).relative, u"deep");
  EXPECT_EQ(resolve_folder_forms(u"main.c", with_bases).relative, u"blinky\\main.c");
}

TEST(RelativeFormOnWindows, StoredSpellingAndOtherDrives) {
  if (!test_support::on_windows()) GTEST_SKIP() << "letter case and drives are Windows matters";
  test_folder root;
  std::filesystem::create_directories(root / "Work/Blinky/Src");
  working_directory cwd(root / "Work/Blinky");
  EXPECT_EQ(relative_form(u"src"), u"Src");
  EXPECT_EQ(relative_form(to_wide_path(root / "WORK/blinky/SRC")), u"Src");

  // The temporary folder is on C:; Wine maps the Linux root to Z:.
  const std::filesystem::path other_drive = to_wide_path(root.path()).substr(0, 1) == u"Z" ? "C:\\" : "Z:\\";
  if (!std::filesystem::exists(other_drive)) GTEST_SKIP() << "no second drive";
  EXPECT_EQ(relative_form(to_wide_path(other_drive)), u"");
  EXPECT_EQ(path_text(relative_form(to_wide_path(other_drive))), "$PROJ_DIR$\\");
}

}  // namespace
}  // namespace addfolder
