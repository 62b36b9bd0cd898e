// How a run's changes read: report lines, the summary line, and long texts in a box.
#include <gtest/gtest.h>

#include "change_report.h"

namespace addfolder {
namespace {

std::string narrow(const wide_text& text) {
  std::string result;
  for (char16_t c : text) result += c < 0x80 ? static_cast<char>(c) : '?';
  return result;
}

std::string summary(const change_counts& counts) {
  return narrow(change_summary_line(counts, u"blinky.ewp", u"blinky.ipcf"));
}

TEST(ChangeReport, OneLinePerChangeNamingTheFileTheSectionAndTheText) {
  change_log log;
  log.lists_changes = true;
  note_change(log, true, change_place::project, {}, "$PROJ_DIR$\\blinky.ipcf");
  note_change(log, true, change_place::include_path, {}, "$PROJ_DIR$\\lib");
  note_change(log, true, change_place::group, "lib\\hal", {});
  note_change(log, true, change_place::group, "lib\\hal", "$PROJ_DIR$\\lib\\hal\\spi.c");
  note_change(log, false, change_place::files, {}, "$PROJ_DIR$\\old.c");
  note_change(log, false, change_place::asm_include_path, {}, "$PROJ_DIR$\\gone");
  note_change(log, true, change_place::files, {}, "$PROJ_DIR$\\caf\xC3\xA9.c");
  std::vector<std::string> lines;
  for (const wide_text& line : change_report_lines(log, u"blinky.ewp", u"blinky.ipcf")) lines.push_back(narrow(line));
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "+ blinky.ewp: project: $PROJ_DIR$\\blinky.ipcf",
                       "+ blinky.ipcf: includePath: $PROJ_DIR$\\lib",
                       "+ blinky.ipcf: group lib\\hal",
                       "+ blinky.ipcf: group lib\\hal: $PROJ_DIR$\\lib\\hal\\spi.c",
                       "- blinky.ipcf: files: $PROJ_DIR$\\old.c",
                       "- blinky.ipcf: asmIncludePath: $PROJ_DIR$\\gone",
                       "+ blinky.ipcf: files: $PROJ_DIR$\\caf?.c",
                   }));
  change_log counted;
  note_change(counted, true, change_place::files, {}, "x");
  EXPECT_TRUE(counted.changes.empty()) << "a log that only counts lists nothing";
}

TEST(ChangeReport, TheSummarySaysWhatEachFileGainedAndLost) {
  change_counts counts;
  EXPECT_EQ(summary(counts), "blinky.ipcf: nothing to add or remove");
  counts.added_files = 7;
  counts.groups_with_added_files = 3;
  counts.added_include_directories = 2;
  counts.removed_files = 1;
  counts.groups_with_removed_files = 1;
  EXPECT_EQ(summary(counts), "blinky.ipcf: added 7 files in 3 groups and 2 include directories, removed 1 file in 1 group");
  counts = change_counts{};
  counts.reference_added = true;
  counts.added_files = 1;
  EXPECT_EQ(summary(counts), "blinky.ewp: added the reference to blinky.ipcf; blinky.ipcf: added 1 file");
  counts = change_counts{};
  counts.removed_include_directories = 1;
  counts.removed_groups = 2;
  EXPECT_EQ(summary(counts), "blinky.ipcf: removed 1 include directory and 2 empty groups");
}

TEST(ChangeReport, ABoxShowsFortyLinesAndHowManyMore) {
  std::vector<wide_text> lines(43, u"line");
  const std::vector<wide_text> shown = lines_for_box(lines);
  ASSERT_EQ(shown.size(), 41u);
  EXPECT_EQ(shown.back(), u"\u2026 and 3 more");
  lines.resize(40);
  EXPECT_EQ(lines_for_box(lines), lines);
}

}  // namespace
}  // namespace addfolder
