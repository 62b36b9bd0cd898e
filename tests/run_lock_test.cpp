// The run lock: one holder per project at a time, in this process or
// another, free again once let go, also after a kill, nothing left in the
// project folder, and a lock name taken by a folder named at once.
#include <gtest/gtest.h>

#include "run_lock.h"
#include "tests/lock_holder.h"
#include "tests/test_folder.h"

namespace addfolder {
namespace {

using namespace std::chrono_literals;
using test_support::lock_holder;
using test_support::names_in;
using test_support::test_folder;
using test_support::to_wide_path;
using test_support::write_file;

class RunLock : public ::testing::Test {
 protected:
  void SetUp() override { write_file(project_, "<project/>"); }

  // What the folder holds while a lock is held: the project file and the hidden lock file.
  std::set<std::string> names_while_held() const { return {".blinky.ewp.lock", "blinky.ewp"}; }
  // How taking the lock ends: no error, or the kind of error.
  static document_failure acquire(const wide_path& file, std::chrono::milliseconds patience, run_lock& lock) {
    return acquire_run_lock(file, patience, lock).failure;
  }
  static constexpr document_failure acquired = document_failure::none;
  static constexpr document_failure timed_out = document_failure::lock_timed_out;

  test_folder folder_;
  std::filesystem::path project_ = folder_ / "blinky.ewp";
  wide_path project_file_ = to_wide_path(project_);
};

TEST_F(RunLock, ASecondTakerWaitsAndTimesOutUntilTheFirstLetsGo) {
  run_lock first;
  ASSERT_EQ(acquire(project_file_, 0ms, first), acquired);
  EXPECT_TRUE(first.held());
  EXPECT_EQ(names_in(folder_.path()), names_while_held());

  run_lock second;
  EXPECT_EQ(acquire(project_file_, 50ms, second), timed_out);
  EXPECT_FALSE(second.held());

  first.release();
  EXPECT_FALSE(first.held());
  EXPECT_EQ(names_in(folder_.path()), std::set<std::string>{"blinky.ewp"});
  EXPECT_EQ(acquire(project_file_, 0ms, second), acquired);
  first.release();
  EXPECT_TRUE(second.held());
  EXPECT_EQ(acquire(project_file_, 0ms, first), timed_out);
}

TEST_F(RunLock, ALockIsLetGoByItsDestructionAndFollowsAMove) {
  {
    run_lock scoped;
    ASSERT_EQ(acquire(project_file_, 0ms, scoped), acquired);
    run_lock moved(std::move(scoped));
    EXPECT_FALSE(scoped.held());
    EXPECT_TRUE(moved.held());
    run_lock other;
    EXPECT_EQ(acquire(project_file_, 0ms, other), timed_out);
    other = std::move(moved);
    EXPECT_TRUE(other.held());
    // A lock taken again lets its own first go, so it does not wait on itself.
    EXPECT_EQ(acquire(project_file_, 0ms, other), acquired);
  }
  EXPECT_EQ(names_in(folder_.path()), std::set<std::string>{"blinky.ewp"});
  run_lock again;
  EXPECT_EQ(acquire(project_file_, 0ms, again), acquired);
}

TEST_F(RunLock, TheLockIsTheProjectsWhateverNameLeadsToIt) {
  test_folder elsewhere;
  std::error_code error;
  std::filesystem::create_symlink(project_, elsewhere / "linked.ewp", error);
  if (error) GTEST_SKIP() << "cannot create a link here: " << error.message();
  run_lock direct;
  ASSERT_EQ(acquire(project_file_, 0ms, direct), acquired);
  run_lock linked;
  EXPECT_EQ(acquire(to_wide_path(elsewhere / "linked.ewp"), 0ms, linked), timed_out);
  EXPECT_EQ(names_in(elsewhere.path()), std::set<std::string>{"linked.ewp"});
}

TEST_F(RunLock, TwoProjectsInOneFolderDoNotWaitForEachOther) {
  write_file(folder_ / "other.ewp", "<project/>");
  run_lock first;
  ASSERT_EQ(acquire(project_file_, 0ms, first), acquired);
  run_lock other;
  EXPECT_EQ(acquire(to_wide_path(folder_ / "other.ewp"), 0ms, other), acquired);
}

TEST_F(RunLock, ALockNameTakenByAFolderIsAnErrorAtOnceNamingIt) {
  std::filesystem::create_directory(folder_ / ".blinky.ewp.lock");
  run_lock lock;
  const auto started = std::chrono::steady_clock::now();
  const document_error error = acquire_run_lock(project_file_, 10s, lock);
  EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
  EXPECT_EQ(error.failure, document_failure::lock_not_a_file);
  EXPECT_EQ(file_name(error.file), u".blinky.ewp.lock");
  EXPECT_FALSE(lock.held());
}

TEST_F(RunLock, AProjectInAFolderThatIsNotThereCannotBeLocked) {
  run_lock lock;
  EXPECT_EQ(acquire(to_wide_path(folder_ / "missing/blinky.ewp"), 0ms, lock), document_failure::lock_failed);
  EXPECT_FALSE(lock.held());
  EXPECT_EQ(names_in(folder_.path()), std::set<std::string>{"blinky.ewp"});
}

TEST_F(RunLock, AnotherProcessIsExcludedAndItsKillLetsTheLockGo) {
  lock_holder holder;
  ASSERT_TRUE(holder.start(project_file_));
  run_lock lock;
  EXPECT_EQ(acquire(project_file_, 50ms, lock), timed_out);
  EXPECT_EQ(names_in(folder_.path()), names_while_held());
  holder.kill();
  // The system lets go of a killed process's lock as it tears the process
  // down; on Windows its lock file goes with it, on POSIX the next holder
  // removes it.
  // The patience covers a system that finishes that after the process is
  // reported ended.
  EXPECT_EQ(acquire(project_file_, 10s, lock), acquired);
  lock.release();
  EXPECT_EQ(names_in(folder_.path()), std::set<std::string>{"blinky.ewp"});

  // And the other way round: a process finds the lock that this one holds.
  ASSERT_EQ(acquire(project_file_, 0ms, lock), acquired);
  EXPECT_FALSE(holder.start(project_file_));
}

}  // namespace
}  // namespace addfolder
