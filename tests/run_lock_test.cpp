// The run lock: one holder per project at a time, in this process or
// another, free again once let go, also after a kill, and nothing left in the
// project folder.
#include <gtest/gtest.h>

#include "run_lock.h"
#include "tests/lock_holder.h"
#include "tests/test_folder.h"

namespace addfolder {
namespace {

using namespace std::chrono_literals;
using test_support::lock_holder;
using test_support::names_in;
using test_support::on_windows;
using test_support::test_folder;
using test_support::to_wide_path;
using test_support::write_file;

class RunLock : public ::testing::Test {
 protected:
  void SetUp() override { write_file(project_, "<project/>"); }

  // What the folder holds while a lock is held: nothing but the project file
  // on POSIX; on Windows also the hidden lock file.
  std::set<std::string> names_while_held() const {
    if (on_windows()) return {".blinky.ewp.lock", "blinky.ewp"};
    return {"blinky.ewp"};
  }

  test_folder folder_;
  std::filesystem::path project_ = folder_ / "blinky.ewp";
  wide_path project_file_ = to_wide_path(project_);
};

TEST_F(RunLock, ASecondTakerWaitsAndTimesOutUntilTheFirstLetsGo) {
  run_lock first;
  ASSERT_EQ(acquire_run_lock(project_file_, 0ms, first), lock_outcome::acquired);
  EXPECT_TRUE(first.held());
  EXPECT_EQ(names_in(folder_.path()), names_while_held());

  run_lock second;
  EXPECT_EQ(acquire_run_lock(project_file_, 50ms, second), lock_outcome::timed_out);
  EXPECT_FALSE(second.held());

  first.release();
  EXPECT_FALSE(first.held());
  EXPECT_EQ(names_in(folder_.path()), std::set<std::string>{"blinky.ewp"});
  EXPECT_EQ(acquire_run_lock(project_file_, 0ms, second), lock_outcome::acquired);
  first.release();
  EXPECT_TRUE(second.held());
  EXPECT_EQ(acquire_run_lock(project_file_, 0ms, first), lock_outcome::timed_out);
}

TEST_F(RunLock, ALockIsLetGoByItsDestructionAndFollowsAMove) {
  {
    run_lock scoped;
    ASSERT_EQ(acquire_run_lock(project_file_, 0ms, scoped), lock_outcome::acquired);
    run_lock moved(std::move(scoped));
    EXPECT_FALSE(scoped.held());
    EXPECT_TRUE(moved.held());
    run_lock other;
    EXPECT_EQ(acquire_run_lock(project_file_, 0ms, other), lock_outcome::timed_out);
    other = std::move(moved);
    EXPECT_TRUE(other.held());
    // A lock taken again lets its own first go, so it does not wait on itself.
    EXPECT_EQ(acquire_run_lock(project_file_, 0ms, other), lock_outcome::acquired);
  }
  EXPECT_EQ(names_in(folder_.path()), std::set<std::string>{"blinky.ewp"});
  run_lock again;
  EXPECT_EQ(acquire_run_lock(project_file_, 0ms, again), lock_outcome::acquired);
}

TEST_F(RunLock, TheLockIsTheProjectsWhateverNameLeadsToIt) {
  test_folder elsewhere;
  std::error_code error;
  std::filesystem::create_symlink(project_, elsewhere / "linked.ewp", error);
  if (error) GTEST_SKIP() << "cannot create a link here: " << error.message();
  run_lock direct;
  ASSERT_EQ(acquire_run_lock(project_file_, 0ms, direct), lock_outcome::acquired);
  run_lock linked;
  EXPECT_EQ(acquire_run_lock(to_wide_path(elsewhere / "linked.ewp"), 0ms, linked), lock_outcome::timed_out);
  EXPECT_EQ(names_in(elsewhere.path()), std::set<std::string>{"linked.ewp"});
}

TEST_F(RunLock, AMissingProjectCannotBeLocked) {
  run_lock lock;
  EXPECT_EQ(acquire_run_lock(to_wide_path(folder_ / "missing.ewp"), 0ms, lock), lock_outcome::failed);
  EXPECT_EQ(acquire_run_lock(to_wide_path(folder_ / "missing/blinky.ewp"), 0ms, lock), lock_outcome::failed);
  EXPECT_FALSE(lock.held());
  EXPECT_EQ(names_in(folder_.path()), std::set<std::string>{"blinky.ewp"});
}

TEST_F(RunLock, AnotherProcessIsExcludedAndItsKillLetsTheLockGo) {
  lock_holder holder;
  ASSERT_TRUE(holder.start(project_file_));
  run_lock lock;
  EXPECT_EQ(acquire_run_lock(project_file_, 50ms, lock), lock_outcome::timed_out);
  EXPECT_EQ(names_in(folder_.path()), names_while_held());
  holder.kill();
  // The system lets go of a killed process's lock as it tears the process
  // down, and its lock file goes with it.
  EXPECT_EQ(names_in(folder_.path()), std::set<std::string>{"blinky.ewp"});
  // The patience covers a system that finishes that after the process is
  // reported ended.
  EXPECT_EQ(acquire_run_lock(project_file_, 10s, lock), lock_outcome::acquired);
  lock.release();
  EXPECT_EQ(names_in(folder_.path()), std::set<std::string>{"blinky.ewp"});

  // And the other way round: a process finds the lock that this one holds.
  ASSERT_EQ(acquire_run_lock(project_file_, 0ms, lock), lock_outcome::acquired);
  EXPECT_FALSE(holder.start(project_file_));
}

}  // namespace
}  // namespace addfolder
