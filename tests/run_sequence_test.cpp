// The whole run in this process: the lock that makes runs take turns, and
// the order of the writes that keeps a project whole when a write fails.
#include <gtest/gtest.h>

#include <filesystem>

#include "failure_message.h"
#include "messages.h"
#include "run_lock.h"
#include "run_sequence.h"
#include "file_system.h"
#include "text_conversion.h"
#include "tests/lock_holder.h"
#include "tests/test_folder.h"

namespace addfolder {
namespace {

using test_support::names_in;
using test_support::read_file;
using test_support::test_folder;
using test_support::to_wide_path;
using test_support::working_directory;
using test_support::write_file;

// A file as messages name it: its full path, spelled as the host spells paths.
std::u16string shown(std::filesystem::path file) { return file.make_preferred().u16string(); }

constexpr const char* pristine_project = "<?xml version=\"1.0\"?>\n<project>\n\t<fileVersion>3</fileVersion>\n</project>\n";

class RunSequence : public ::testing::Test {
 protected:
  RunSequence() {
    write_file(project_ / "blinky.ewp", pristine_project);
    write_file(project_ / "lib/board.c");
    write_file(project_ / "lib/board.h");
  }
  run_outcome run(const run_settings& settings = {}) {
    scan_problem_list problems;
    return run_sequence({to_wide_path(project_), u"blinky"}, {folder_settings{to_wide_path(project_ / "lib"), {}}},
                        settings, problems);
  }
  void make_read_only(const char* name, bool read_only) {
    using std::filesystem::perms;
    std::filesystem::permissions(project_ / name, perms::owner_write | perms::group_write | perms::others_write,
                                 read_only ? std::filesystem::perm_options::remove : std::filesystem::perm_options::add);
  }

  test_folder root_;
  std::filesystem::path project_ = root_ / "blinky";
  working_directory cwd_{(std::filesystem::create_directories(project_), project_)};
};

TEST_F(RunSequence, ARunWaitsForTheLockAndGivesUpWithAMessageNamingTheProject) {
  test_support::lock_holder other_run;
  ASSERT_TRUE(other_run.start(to_wide_path(project_ / "blinky.ewp")));
  run_settings settings;
  settings.lock_patience = std::chrono::milliseconds(100);
  const run_outcome outcome = run(settings);
  EXPECT_EQ(outcome.exit_code, exit_failure);
  EXPECT_NE(outcome.message.find(shown(project_ / "blinky.ewp")), std::u16string::npos) << to_narrow(outcome.message);
  EXPECT_EQ(read_file(project_ / "blinky.ewp"), pristine_project);
  EXPECT_FALSE(std::filesystem::exists(project_ / "blinky.ipcf"));

  // Once the other run has ended, the same run goes through.
  other_run.kill();
  EXPECT_EQ(run(settings).exit_code, exit_success);
  EXPECT_TRUE(std::filesystem::exists(project_ / "blinky.ipcf"));
}

TEST_F(RunSequence, WhenTheProjectFileCannotBeWrittenTheNewConnectionFileIsTakenBack) {
  make_read_only("blinky.ewp", true);
  // A connection file that was not there goes again.
  run_outcome outcome = run();
  EXPECT_EQ(outcome.exit_code, exit_failure);
  EXPECT_EQ(outcome.message, project_file_error);
  EXPECT_EQ(names_in(project_), (std::set<std::string>{"blinky.ewp", "lib"}));
  EXPECT_EQ(outcome.reason, shown(project_ / "blinky.ewp") + u": The file is read-only.");
  // One that was there, unreferenced, is extended and then put back as it was.
  write_file(project_ / "blinky.ipcf", "<iarProjectConnection/>\r\n");
  outcome = run();
  EXPECT_EQ(outcome.message, project_file_error);
  EXPECT_EQ(read_file(project_ / "blinky.ipcf"), "<iarProjectConnection/>\r\n");
  EXPECT_EQ(names_in(project_), (std::set<std::string>{"blinky.ewp", "blinky.ipcf", "lib"}));
  make_read_only("blinky.ewp", false);
  EXPECT_EQ(read_file(project_ / "blinky.ewp"), pristine_project);
}

TEST_F(RunSequence, ADryRunTakesTheLockAndWritesNothing) {
  test_support::lock_holder other_run;
  ASSERT_TRUE(other_run.start(to_wide_path(project_ / "blinky.ewp")));
  run_settings settings;
  settings.dry_run = true;
  settings.lock_patience = std::chrono::milliseconds(50);
  EXPECT_EQ(run(settings).exit_code, exit_failure);
  other_run.kill();
  const run_outcome outcome = run(settings);
  EXPECT_EQ(outcome.exit_code, exit_success);
  EXPECT_TRUE(outcome.changes.counts.reference_added);
  EXPECT_EQ(outcome.changes.counts.added_files, 1u);
  EXPECT_EQ(names_in(project_), (std::set<std::string>{"blinky.ewp", "lib"}));
  EXPECT_EQ(read_file(project_ / "blinky.ewp"), pristine_project);
}

TEST_F(RunSequence, AConnectionFileThatTheProjectDoesNotNameIsExtendedNotReplaced) {
  const std::string users = "<iarProjectConnection name=\"src\" oneShot=\"false\">\n"
                            "\t<defines>\n\t\t<define>BOARD=1</define>\n\t</defines>\n"
                            "</iarProjectConnection>\n";
  write_file(project_ / "blinky.ipcf", users);
  run_outcome outcome = run();
  ASSERT_EQ(outcome.exit_code, exit_success) << to_narrow(outcome.reason);
  EXPECT_TRUE(outcome.changes.counts.reference_added);
  // The missing sections come after what the user had, in the layout's order.
  EXPECT_EQ(read_file(project_ / "blinky.ipcf"),
            "<?xml version=\"1.0\"?>\n<iarProjectConnection name=\"src\" oneShot=\"false\">\n"
            "\t<defines>\n\t\t<define>BOARD=1</define>\n\t</defines>\n"
            "\t<includePath>\n\t\t<path>$PROJ_DIR$\\lib</path>\n\t</includePath>\n"
            "\t<asmIncludePath>\n\t\t<path>$PROJ_DIR$\\lib</path>\n\t</asmIncludePath>\n"
            "\t<files>\n\t\t<group name=\"lib\">\n\t\t\t<path>$PROJ_DIR$\\lib\\board.c</path>\n\t\t</group>\n"
            "\t</files>\n</iarProjectConnection>\n");

  // A file of that name that is no connection file stops the run, and nothing is written.
  write_file(project_ / "blinky.ewp", pristine_project);
  write_file(project_ / "blinky.ipcf", "<Project/>");
  outcome = run();
  EXPECT_EQ(outcome.message, connection_file_error);
  EXPECT_EQ(outcome.reason, shown(project_ / "blinky.ipcf") + u": The root element is Project, not iarProjectConnection.");
  EXPECT_EQ(read_file(project_ / "blinky.ewp"), pristine_project);
  EXPECT_EQ(read_file(project_ / "blinky.ipcf"), "<Project/>");
}

// Where an observer stops a run that adds the reference: during the walk,
// while another holds the lock, before the writes, between them, after them,
// or (none) not at all.
enum class stop_point { walk, lock_wait, before_writes, between_writes, after_writes, none };

class stopping_observer final : public run_observer {
 public:
  explicit stopping_observer(stop_point point) : point_(point) {}
  bool keep_walking(std::size_t, std::size_t) override { return point_ != stop_point::walk; }
  bool keep_waiting() override { return point_ != stop_point::lock_wait; }
  bool begin_writing() override { return point_ != stop_point::before_writes; }
  bool keep_writing() override {
    return point_ != (writes_asked_++ == 0 ? stop_point::between_writes : stop_point::after_writes);
  }
  int stopped_exit_code() const override { return exit_interrupted; }

 private:
  stop_point point_;
  int writes_asked_ = 0;
};

struct stop_case {
  stop_point point;
  // The connection file before the run; none where empty.
  const char* connection_before;
  // The run also records its folder in a new sync file, which it writes first.
  bool save;
  // The files hold the run's changes afterwards; otherwise all are as before.
  bool written;
};

constexpr stop_case stop_cases[] = {
    {stop_point::walk, "", false, false},
    {stop_point::lock_wait, "", false, false},
    {stop_point::before_writes, "", false, false},
    {stop_point::between_writes, "", false, false},
    {stop_point::between_writes, "<iarProjectConnection/>\r\n", false, false},
    {stop_point::between_writes, "", true, false},
    {stop_point::after_writes, "", false, true},
    {stop_point::none, "<iarProjectConnection/>\r\n", false, true},
    {stop_point::none, "", true, true},
};

TEST_F(RunSequence, AStoppedRunEndsAtASafePointWithTheObserversCode) {
  // The walk is asked before it enters a folder.
  write_file(project_ / "lib/hal/uart.c");
  for (const stop_case& entry : stop_cases) {
    SCOPED_TRACE(static_cast<int>(entry.point));
    write_file(project_ / "blinky.ewp", pristine_project);
    std::filesystem::remove(project_ / "blinky.ipcf");
    const std::string before = entry.connection_before;
    if (!before.empty()) write_file(project_ / "blinky.ipcf", before);
    std::filesystem::remove(project_ / "blinky.addfolder.toml");
    stopping_observer observer(entry.point);
    // Another holder keeps the run waiting, for all of its minute unless stopped.
    run_lock other;
    if (entry.point == stop_point::lock_wait) {
      ASSERT_FALSE(acquire_run_lock(to_wide_path(project_ / "blinky.ewp"), {}, other));
    }
    run_settings settings;
    settings.observer = &observer;
    if (entry.save) {
      sync_folder table;
      table.path = u"lib";
      settings.save = {to_wide_path(project_ / "blinky.addfolder.toml"), u"blinky.addfolder.toml", {table}, {}};
    }
    const run_outcome outcome = run(settings);
    other.release();
    EXPECT_FALSE(outcome.failed());
    EXPECT_EQ(outcome.stopped, entry.point != stop_point::none);
    EXPECT_EQ(outcome.exit_code, outcome.stopped ? exit_interrupted : exit_success);
    EXPECT_EQ(read_file(project_ / "blinky.ewp") != pristine_project, entry.written);
    const bool connection_there = std::filesystem::exists(project_ / "blinky.ipcf");
    EXPECT_EQ(connection_there, entry.written || !before.empty());
    if (connection_there) {
      EXPECT_EQ(read_file(project_ / "blinky.ipcf") != before, entry.written);
    }
    const bool sync_file_there = std::filesystem::exists(project_ / "blinky.addfolder.toml");
    EXPECT_EQ(sync_file_there, entry.save && entry.written);
    EXPECT_EQ(names_in(project_).size(), 2u + connection_there + sync_file_there) << "a file was left beside the project";
  }
}

}  // namespace
}  // namespace addfolder
