// The reference from the project file to the connection file.
#include <gtest/gtest.h>

#include <new>

#include "project_link.h"
#include "xml_document.h"
#include "tests/failing_allocations.h"
#include "tests/test_folder.h"

namespace addfolder {
namespace {

using test_support::failing_allocations;
using test_support::read_file;
using test_support::test_folder;
using test_support::to_wide_path;
using test_support::write_file;

constexpr const char* reference = "$PROJ_DIR$\\blinky.ipcf";

// A project file with the given top-level entries, in the IDE's own form.
std::string project_with(const std::string& entries) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
         "<!-- IDE project -->\r\n"
         "<project>\r\n"
         "    <fileVersion>3</fileVersion>\r\n" +
         entries + "</project>\r\n";
}

// Links as a run does: the project document is saved when the reference
// was added; saved tells whether that worked.
link_result link_and_save(const std::filesystem::path& file, std::string_view connection, bool* saved = nullptr) {
  pugi::xml_document project;
  const link_result result = link_project_file(to_wide_path(file), connection, project);
  const bool save = result == link_result::added && save_document(project, to_wide_path(file));
  if (saved != nullptr) *saved = save;
  return result;
}

class ProjectLink : public ::testing::Test {
 protected:
  link_result link(const std::string& bytes, std::string_view connection = reference) {
    write_file(file_, bytes);
    return link_and_save(file_, connection);
  }

  test_folder folder_;
  std::filesystem::path file_ = folder_ / "blinky.ewp";
};

TEST(ConnectionReference, IsTheMacroTheNameAndTheExtension) {
  EXPECT_EQ(connection_reference("blinky"), reference);
  EXPECT_EQ(connection_reference("My Project"), "$PROJ_DIR$\\My Project.ipcf");
}

TEST_F(ProjectLink, AnEqualTopLevelEntryIsFoundAndTheFileLeftAlone) {
  for (const std::string& entry :
       {std::string("<file><name>$PROJ_DIR$\\blinky.ipcf</name></file>\r\n"),
        std::string("<file><name><![CDATA[$PROJ_DIR$\\blinky.ipcf]]></name></file>\r\n"),
        std::string("<file><name>other.c</name><name>$PROJ_DIR$\\blinky.ipcf</name></file>\r\n"),
        // Vendor tools write "/", which names the same file.
        std::string("<file><name>$PROJ_DIR$/blinky.ipcf</name></file>\r\n"),
        std::string(
            "<file><name>$PROJ_DIR$\\blinky.ipcf</name></file><file><name>$PROJ_DIR$\\blinky.ipcf</name></file>")}) {
    const std::string bytes = project_with(entry);
    EXPECT_EQ(link(bytes), link_result::found) << entry;
    EXPECT_EQ(read_file(file_), bytes) << "not rewritten";
  }
  const std::string escaped = project_with("<file><name>$PROJ_DIR$\\a&amp;b.ipcf</name></file>");
  EXPECT_EQ(link(escaped, connection_reference("a&b")), link_result::found);
  EXPECT_EQ(read_file(file_), escaped);
}

TEST_F(ProjectLink, NearMissesGetTheReferenceAppendedLast) {
  const std::string appended = "\t<file>\n\t\t<name>$PROJ_DIR$\\blinky.ipcf</name>\n\t</file>\n</project>\n";
  for (const char* entry :
       {"<file><name>$proj_dir$\\blinky.ipcf</name></file>", "<file><name>$PROJ_DIR$\\Blinky.ipcf</name></file>",
        "<file><name>$PROJ_DIR$\\sub\\blinky.ipcf</name></file>", "<file><name>$PROJ_DIR$//blinky.ipcf</name></file>",
        "<file><name> $PROJ_DIR$\\blinky.ipcf </name></file>",
        "<group><file><name>$PROJ_DIR$\\blinky.ipcf</name></file></group>",
        "<file><other>$PROJ_DIR$\\blinky.ipcf</other><name/></file><file/>"}) {
    EXPECT_EQ(link(project_with(entry)), link_result::added) << entry;
    const std::string written = read_file(file_);
    EXPECT_EQ(written.substr(written.size() - appended.size()), appended) << entry;
    EXPECT_EQ(link_and_save(file_, reference), link_result::found) << entry;
  }
}

TEST_F(ProjectLink, TheSecondRunFindsWhatTheFirstAdded) {
  EXPECT_EQ(link(project_with("")), link_result::added);
  const std::string saved = read_file(file_);
  EXPECT_EQ(saved,
            "<?xml version=\"1.0\"?>\n"
            "<project>\n"
            "\t<fileVersion>3</fileVersion>\n"
            "\t<file>\n"
            "\t\t<name>$PROJ_DIR$\\blinky.ipcf</name>\n"
            "\t</file>\n"
            "</project>\n");
  EXPECT_EQ(link_and_save(file_, reference), link_result::found);
  EXPECT_EQ(read_file(file_), saved);
}

TEST_F(ProjectLink, AnotherDocumentElementIsRewrittenWithoutAnEntry) {
  EXPECT_EQ(link("<!-- x -->\r\n<workspace>\r\n<file><name>a.c</name></file>\r\n</workspace>\r\n"), link_result::added);
  EXPECT_EQ(read_file(file_),
            "<?xml version=\"1.0\"?>\n<workspace>\n\t<file>\n\t\t<name>a.c</name>\n\t</file>\n</workspace>\n");
}

TEST_F(ProjectLink, FilesThatCannotBeLoadedAreLeftAlone) {
  for (const char* bytes : {"", "<?xml version=\"1.0\"?>\n", "<project><file></project>"}) {
    EXPECT_EQ(link(bytes), link_result::load_failed) << bytes;
    EXPECT_EQ(read_file(file_), bytes);
  }
  EXPECT_EQ(link_and_save(folder_ / "missing.ewp", reference), link_result::load_failed);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "missing.ewp"));
}

TEST_F(ProjectLink, AReadOnlyProjectFileIsNeitherReplacedNorChanged) {
  const std::string bytes = project_with("");
  write_file(file_, bytes);
  using std::filesystem::perms;
  const perms write = perms::owner_write | perms::group_write | perms::others_write;
  std::filesystem::permissions(file_, write, std::filesystem::perm_options::remove);
  bool saved = true;
  const link_result result = link_and_save(file_, reference, &saved);
  std::filesystem::permissions(file_, perms::owner_write, std::filesystem::perm_options::add);
  EXPECT_EQ(result, link_result::added);
  EXPECT_FALSE(saved);
  EXPECT_EQ(read_file(file_), bytes);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()), {}), 1);
}

// Links with a budget of allocations: the result, or that memory ran out.
link_result link_within(const std::filesystem::path& file, long budget, bool& ran_out) {
  ran_out = false;
  try {
    failing_allocations failing(budget);
    return link_and_save(file, reference);
  } catch (const std::bad_alloc&) {
    ran_out = true;
    return link_result::load_failed;
  }
}

TEST_F(ProjectLink, WhereverMemoryRunsOutTheFileStaysWhole) {
  // With the right number of entries, the last allocation of a link is the
  // one for the appended entry. A read-only file shows how many a link
  // needs without writing anything.
  using std::filesystem::perms;
  const perms write = perms::owner_write | perms::group_write | perms::others_write;
  bool saw_append_run_out = false;
  std::string entries;
  for (int count = 0; count < 200; ++count) {
    entries += "<file><name>$PROJ_DIR$\\src\\file" + std::to_string(count) + ".c</name></file>";
    const std::string bytes = project_with(entries);
    write_file(file_, bytes);
    std::filesystem::permissions(file_, write, std::filesystem::perm_options::remove);
    constexpr long plenty = 1000000;
    bool ran_out = false;
    ASSERT_EQ(link_within(file_, plenty, ran_out), link_result::added);
    const long needed = plenty - failing_allocations::allowed;
    std::filesystem::permissions(file_, write, std::filesystem::perm_options::add);

    const link_result result = link_within(file_, needed - 1, ran_out);
    EXPECT_NE(result, link_result::added);
    EXPECT_EQ(read_file(file_), bytes) << count;
    // Running out in the append leaves no half entry to save.
    saw_append_run_out = saw_append_run_out || ran_out;
  }
  EXPECT_TRUE(saw_append_run_out) << "no budget ended in the middle of the append";
}

}  // namespace
}  // namespace addfolder
