// File stamps: equal for a file left alone, different after any rewrite or
// replacement that a save of another program could make, and the stamp of a
// reading is the stamp of the file that was read.
#include <gtest/gtest.h>

#include "file_bytes.h"
#include "file_stamp.h"
#include "tests/test_folder.h"

namespace addfolder {
namespace {

using namespace std::chrono_literals;
using test_support::test_folder;
using test_support::to_wide_path;
using test_support::write_file;

class FileStamp : public ::testing::Test {
 protected:
  void SetUp() override { write_file(file_, "<project/>"); }

  file_stamp stamp_now() {
    file_stamp stamp;
    EXPECT_FALSE(query_file_stamp(to_wide_path(file_), stamp));
    return stamp;
  }

  test_folder folder_;
  std::filesystem::path file_ = folder_ / "blinky.ewp";
};

TEST_F(FileStamp, AFileLeftAloneKeepsItsStampAndItsReadingTellsTheSame) {
  const file_stamp before = stamp_now();
  EXPECT_TRUE(before.exists);
  EXPECT_EQ(before.size, 10u);
  file_bytes bytes;
  file_stamp read;
  ASSERT_FALSE(read_whole_file(to_wide_path(file_), bytes, &read));
  release_file_bytes(bytes);
  EXPECT_EQ(read, before);
  EXPECT_EQ(stamp_now(), before);
}

TEST_F(FileStamp, ARewriteOfTheSameSizeDiffersByItsTime) {
  const file_stamp before = stamp_now();
  const auto written = std::filesystem::last_write_time(file_);
  write_file(file_, "<PROJECT/>");
  // Set apart explicitly: a coarse clock could give the rewrite the old time.
  std::filesystem::last_write_time(file_, written + 2s);
  const file_stamp after = stamp_now();
  EXPECT_EQ(after.identity, before.identity);
  EXPECT_EQ(after.size, before.size);
  EXPECT_NE(after, before);
}

TEST_F(FileStamp, AReplacementByRenameDiffersEvenWithTheSameSizeAndTime) {
  const auto replacement = folder_ / "replacement";
  write_file(replacement, "<project/>");
  // Both times set alike, as some systems set them to whole seconds only.
  const auto time = std::filesystem::last_write_time(file_) - 10s;
  std::filesystem::last_write_time(file_, time);
  std::filesystem::last_write_time(replacement, time);
  file_bytes bytes;
  file_stamp read;
  ASSERT_FALSE(read_whole_file(to_wide_path(file_), bytes, &read));
  release_file_bytes(bytes);
  std::filesystem::rename(replacement, file_);
  const file_stamp after = stamp_now();
  EXPECT_EQ(after.size, read.size);
  EXPECT_EQ(after.modified, read.modified);
  EXPECT_NE(after, read);
}

TEST_F(FileStamp, AMissingFileIsAStateOfItsOwn) {
  file_stamp missing;
  missing.size = 1;
  ASSERT_FALSE(query_file_stamp(to_wide_path(folder_ / "blinky.ipcf"), missing));
  EXPECT_EQ(missing, file_stamp{});
  ASSERT_FALSE(query_file_stamp(to_wide_path(folder_ / "missing/blinky.ipcf"), missing));
  EXPECT_FALSE(missing.exists);
  write_file(folder_ / "blinky.ipcf");
  file_stamp created;
  ASSERT_FALSE(query_file_stamp(to_wide_path(folder_ / "blinky.ipcf"), created));
  EXPECT_TRUE(created.exists);
  EXPECT_NE(created, missing);

  std::filesystem::remove(file_);
  file_bytes bytes;
  file_stamp read;
  EXPECT_TRUE(read_whole_file(to_wide_path(file_), bytes, &read));
}

TEST_F(FileStamp, ALinkHasTheStampOfItsTarget) {
  std::error_code error;
  std::filesystem::create_symlink(file_, folder_ / "linked.ewp", error);
  if (error) GTEST_SKIP() << "cannot create a link here: " << error.message();
  file_stamp linked;
  ASSERT_FALSE(query_file_stamp(to_wide_path(folder_ / "linked.ewp"), linked));
  EXPECT_EQ(linked, stamp_now());
}

}  // namespace
}  // namespace addfolder
