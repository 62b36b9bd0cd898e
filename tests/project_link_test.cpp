// The reference from the project file to the connection file.
#include <gtest/gtest.h>

#include <new>

#include "project_link.h"
#include "text_conversion.h"
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

// What a link did: found or added the reference, or why it failed.
enum class linked { found, added, wrong_root, malformed, missing };

// Links as a run does: the project document is saved when the reference
// was added; saved tells whether that worked.
linked link_and_save(const std::filesystem::path& file, std::string_view connection, bool* saved = nullptr) {
  pugi::xml_document project;
  connection_file_names names;
  names.project_directory = to_wide_path(file.parent_path());
  names.file_name = to_wide(connection.substr(connection.find('\\') + 1));
  link_result result = link_result::found;
  const document_error error = link_project_file(to_wide_path(file), names, connection, project, result);
  if (error.failure == document_failure::wrong_root) return linked::wrong_root;
  if (error.failure == document_failure::malformed) return linked::malformed;
  if (error) return linked::missing;
  const bool save = result == link_result::added && !save_document(project, to_wide_path(file));
  if (saved != nullptr) *saved = save;
  return result == link_result::added ? linked::added : linked::found;
}

class ProjectLink : public ::testing::Test {
 protected:
  linked link(const std::string& bytes, std::string_view connection = reference) {
    write_file(file_, bytes);
    return link_and_save(file_, connection);
  }

  test_folder folder_;
  std::filesystem::path file_ = folder_ / "blinky.ewp";
};

// A spelling of the reference, and whether it names blinky.ipcf in the
// project directory C:\work\blinky by each host's rule.
struct reference_spelling {
  const char* text;
  bool by_exact_names;
  bool by_names_of_either_case;
};

constexpr reference_spelling reference_spellings[] = {
    {"$PROJ_DIR$\\blinky.ipcf", true, true},
    {"$PROJ_DIR$/blinky.ipcf", true, true},
    {"$PROJ_DIR$/./blinky.ipcf", true, true},
    {"$PROJ_DIR$\\\\blinky.ipcf", true, true},
    {".\\blinky.ipcf", true, true},
    {"blinky.ipcf", true, true},
    {"C:\\work\\blinky\\blinky.ipcf", true, true},
    {"$PROJ_DIR$\\Blinky.ipcf", false, true},
    {"$PROJ_DIR$\\BLINKY.IPCF", false, true},
    {"c:/WORK/blinky/blinky.ipcf", false, true},
    // Another macro, a macro in other letter case, or one without a separator names another file.
    {"$TOOLKIT_DIR$\\blinky.ipcf", false, false},
    {"$proj_dir$\\blinky.ipcf", false, false},
    {"$PROJ_DIR$blinky.ipcf", false, false},
    // Other folders, other names, blanks.
    {"$PROJ_DIR$\\sub\\blinky.ipcf", false, false},
    {"$PROJ_DIR$\\sub\\..\\blinky.ipcf", false, false},
    {"$PROJ_DIR$\\..\\blinky.ipcf", false, false},
    {" $PROJ_DIR$\\blinky.ipcf ", false, false},
    {"$PROJ_DIR$\\blinky.ipcf\\", false, false},
    {"$PROJ_DIR$\\blinky.ipcf.bak", false, false},
    {"D:\\work\\blinky\\blinky.ipcf", false, false},
    {"", false, false},
};

TEST(ConnectionReference, IsFoundByTheFileThatItNamesUnderEachHostsRule) {
  EXPECT_EQ(connection_reference("blinky"), reference);
  connection_file_names names;
  names.project_directory = u"C:\\work\\blinky";
  names.file_name = u"blinky.ipcf";
  for (const reference_spelling& spelling : reference_spellings) {
    names.names = name_rule::exact;
    EXPECT_EQ(names_connection_file(spelling.text, names), spelling.by_exact_names) << spelling.text;
    names.names = name_rule::ignoring_case;
    EXPECT_EQ(names_connection_file(spelling.text, names), spelling.by_names_of_either_case) << spelling.text;
  }
  // Letters beyond ASCII have their case as NTFS gives it.
  names.file_name = u"\u00F6lfilter.ipcf";
  EXPECT_TRUE(names_connection_file("$PROJ_DIR$\\\xC3\x96LFILTER.IPCF", names));
  names.names = name_rule::exact;
  EXPECT_FALSE(names_connection_file("$PROJ_DIR$\\\xC3\x96LFILTER.IPCF", names));
}

TEST(ConnectionReference, AnotherWayToTheSameExistingFileNamesItToo) {
  test_folder folder;
  write_file(folder / "blinky.ipcf", "<iarProjectConnection/>");
  std::filesystem::create_directory(folder / "sub");
  connection_file_names names;
  names.project_directory = to_wide_path(folder.path());
  names.file_name = u"blinky.ipcf";
  EXPECT_FALSE(names_connection_file("$PROJ_DIR$\\sub\\..\\blinky.ipcf", names)) << "no stamp, no identity";
  ASSERT_FALSE(query_file_stamp(to_wide_path(folder / "blinky.ipcf"), names.stamp));
  EXPECT_TRUE(names_connection_file("$PROJ_DIR$\\sub\\..\\blinky.ipcf", names));
  EXPECT_FALSE(names_connection_file("$PROJ_DIR$\\sub\\blinky.ipcf", names));
  std::error_code error;
  std::filesystem::create_symlink(folder / "blinky.ipcf", folder / "linked.ipcf", error);
  if (!error) {
    EXPECT_TRUE(names_connection_file("linked.ipcf", names));
  }
}

TEST_F(ProjectLink, AnEntryThatNamesTheFileIsFoundAtAnyDepthAndTheFileLeftAlone) {
  for (const std::string& entry :
       {std::string("<file><name>$PROJ_DIR$\\blinky.ipcf</name></file>\r\n"),
        std::string("<file><name><![CDATA[$PROJ_DIR$\\blinky.ipcf]]></name></file>\r\n"),
        std::string("<file><name>other.c</name><name>.\\blinky.ipcf</name></file>\r\n"),
        std::string("<file><name>$PROJ_DIR$\\<!-- c -->blinky.ipcf<x/></name></file>\r\n"),
        std::string("<group><name>g</name><group><file><name>blinky.ipcf</name></file></group></group>\r\n"),
        std::string(
            "<file><name>$PROJ_DIR$\\blinky.ipcf</name></file><file><name>$PROJ_DIR$\\blinky.ipcf</name></file>")}) {
    const std::string bytes = project_with(entry);
    EXPECT_EQ(link(bytes), linked::found) << entry;
    EXPECT_EQ(read_file(file_), bytes) << "not rewritten";
  }
  const std::string escaped = project_with("<file><name>$PROJ_DIR$\\a&amp;b.ipcf</name></file>");
  EXPECT_EQ(link(escaped, connection_reference("a&b")), linked::found);
  EXPECT_EQ(read_file(file_), escaped);
}

TEST_F(ProjectLink, NearMissesGetTheReferenceAppendedLast) {
  const std::string appended = "\t<file>\n\t\t<name>$PROJ_DIR$\\blinky.ipcf</name>\n\t</file>\n</project>\n";
  for (const char* entry :
       {"<file><name>$TOOLKIT_DIR$\\blinky.ipcf</name></file>", "<file><name>$PROJ_DIR$\\sub\\blinky.ipcf</name></file>",
        "<file><other>$PROJ_DIR$\\blinky.ipcf</other><name/></file><file/>", "<name>$PROJ_DIR$\\blinky.ipcf</name>"}) {
    EXPECT_EQ(link(project_with(entry)), linked::added) << entry;
    const std::string written = read_file(file_);
    EXPECT_EQ(written.substr(written.size() - appended.size()), appended) << entry;
    EXPECT_EQ(link_and_save(file_, reference), linked::found) << entry;
  }
}

TEST_F(ProjectLink, TheSecondRunFindsWhatTheFirstAdded) {
  EXPECT_EQ(link(project_with("")), linked::added);
  const std::string saved = read_file(file_);
  EXPECT_EQ(saved,
            "<?xml version=\"1.0\"?>\n"
            "<project>\n"
            "\t<fileVersion>3</fileVersion>\n"
            "\t<file>\n"
            "\t\t<name>$PROJ_DIR$\\blinky.ipcf</name>\n"
            "\t</file>\n"
            "</project>\n");
  EXPECT_EQ(link_and_save(file_, reference), linked::found);
  EXPECT_EQ(read_file(file_), saved);
}

TEST_F(ProjectLink, FilesThatAreNoProjectFilesAreLeftAlone) {
  const struct {
    const char* bytes;
    linked result;
  } shapes[] = {
      {"<!-- x -->\r\n<workspace>\r\n<file><name>a.c</name></file>\r\n</workspace>\r\n", linked::wrong_root},
      {"<Project/>", linked::wrong_root},
      {"", linked::malformed},
      {"<?xml version=\"1.0\"?>\n", linked::malformed},
      {"<project>\n<file>\n</project>", linked::malformed},
  };
  for (const auto& shape : shapes) {
    EXPECT_EQ(link(shape.bytes), shape.result) << shape.bytes;
    EXPECT_EQ(read_file(file_), shape.bytes);
  }
  EXPECT_EQ(link_and_save(folder_ / "missing.ewp", reference), linked::missing);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "missing.ewp"));
}

TEST_F(ProjectLink, AReadOnlyProjectFileIsNeitherReplacedNorChanged) {
  const std::string bytes = project_with("");
  write_file(file_, bytes);
  using std::filesystem::perms;
  const perms write = perms::owner_write | perms::group_write | perms::others_write;
  std::filesystem::permissions(file_, write, std::filesystem::perm_options::remove);
  bool saved = true;
  const linked result = link_and_save(file_, reference, &saved);
  std::filesystem::permissions(file_, perms::owner_write, std::filesystem::perm_options::add);
  EXPECT_EQ(result, linked::added);
  EXPECT_FALSE(saved);
  EXPECT_EQ(read_file(file_), bytes);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()), {}), 1);
}

// Links with a budget of allocations: the result, or that memory ran out.
linked link_within(const std::filesystem::path& file, long budget, bool& ran_out) {
  ran_out = false;
  try {
    failing_allocations failing(budget);
    return link_and_save(file, reference);
  } catch (const std::bad_alloc&) {
    ran_out = true;
    return linked::missing;
  }
}

TEST_F(ProjectLink, WhereverMemoryRunsOutTheFileStaysWhole) {
  // With the right number of entries, some hundreds, the last allocation of
  // a link is the one for the appended entry. A read-only file shows how
  // many a link needs without writing anything.
  using std::filesystem::perms;
  const perms write = perms::owner_write | perms::group_write | perms::others_write;
  bool saw_append_run_out = false;
  std::string entries;
  for (int count = 0; count < 300; ++count) {
    entries += "<file><name>$PROJ_DIR$\\src\\file" + std::to_string(count) + ".c</name></file>";
    const std::string bytes = project_with(entries);
    write_file(file_, bytes);
    std::filesystem::permissions(file_, write, std::filesystem::perm_options::remove);
    constexpr long plenty = 1000000;
    bool ran_out = false;
    ASSERT_EQ(link_within(file_, plenty, ran_out), linked::added);
    const long needed = plenty - failing_allocations::allowed;
    std::filesystem::permissions(file_, write, std::filesystem::perm_options::add);

    const linked result = link_within(file_, needed - 1, ran_out);
    EXPECT_NE(result, linked::added);
    EXPECT_EQ(read_file(file_), bytes) << count;
    // Running out in the append leaves no half entry to save.
    saw_append_run_out = saw_append_run_out || ran_out;
  }
  EXPECT_TRUE(saw_append_run_out) << "no budget ended in the middle of the append";
}

}  // namespace
}  // namespace addfolder
