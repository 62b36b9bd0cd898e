// The connection file: its layout, and what create and extend mode add.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "documents/connection_document.h"
#include "documents/xml_document.h"
#include "scan/system_error.h"
#include "tests/failing_allocations.h"
#include "tests/test_folder.h"

namespace addfolder {
namespace {

using test_support::read_file;
using test_support::test_folder;
using test_support::to_wide_path;
using test_support::working_directory;
using test_support::write_file;

// The written form, line by line: the level (number of tabs) and the text.
std::string lines(std::initializer_list<std::pair<int, const char*>> rows) {
  std::string text;
  for (const auto& [level, row] : rows) text += std::string(static_cast<size_t>(level), '\t') + row + "\n";
  return text;
}

source_file_list sources_of(std::initializer_list<const char16_t*> paths) {
  source_file_list list;
  for (const char16_t* path : paths) list.push_back(source_file{path, false});
  return list;
}

// The project C:\work\blinky of the examples, with the working directory in
// it; every file that a test names is created, so relative forms are real.
class ConnectionDocument : public ::testing::Test {
 protected:
  ConnectionDocument() {
    for (const char* file : {"lib/board.c", "lib/board.h", "lib/hal/gpio.c", "lib/hal/gpio.h", "lib/hal/uart.c",
                             "lib/util/crc.c", "lib/util/delay.s", "main.c", "main.h"}) {
      write_file(project_ / file);
    }
  }

  // One run: create mode builds the document new, extend mode loads the file.
  // Returns the file as written.
  std::string run(bool create, const wide_path& scan_root, const header_directory_list& headers,
                  const source_file_list& sources) {
    pugi::xml_document document;
    connection_sections sections;
    if (create) {
      sections = build_connection_document(document);
    } else {
      EXPECT_TRUE(load_document(document, connection_file()));
      sections = open_connection_document(document);
    }
    walk_relative_forms forms = start_walk_relative_forms(scan_root);
    const connection_entries entries = plan_connection_entries(headers, sources, forms);
    EXPECT_TRUE(fill_connection_document(sections, entries));
    EXPECT_TRUE(save_document(document, connection_file()));
    return read_file(file_);
  }

  wide_path connection_file() const { return to_wide_path(file_); }

  test_folder root_;
  std::filesystem::path project_ = root_ / "work/blinky";
  std::filesystem::path file_ = project_ / "blinky.ipcf";
  working_directory cwd_{(std::filesystem::create_directories(project_), project_)};
};

const header_directory_list example_headers{u"lib", u"lib\\hal"};
const source_file_list example_sources =
    sources_of({u"lib\\board.c", u"lib\\hal\\gpio.c", u"lib\\hal\\uart.c", u"lib\\util\\crc.c", u"lib\\util\\delay.s"});

const std::string example_file = lines({
    {0, "<?xml version=\"1.0\"?>"},
    {0, "<iarProjectConnection name=\"src\" oneShot=\"false\">"},
    {1, "<includePath>"},
    {2, "<path>$PROJ_DIR$\\lib</path>"},
    {2, "<path>$PROJ_DIR$\\lib\\hal</path>"},
    {1, "</includePath>"},
    {1, "<asmIncludePath>"},
    {2, "<path>$PROJ_DIR$\\lib</path>"},
    {2, "<path>$PROJ_DIR$\\lib\\hal</path>"},
    {1, "</asmIncludePath>"},
    {1, "<files>"},
    {2, "<group name=\"lib\">"},
    {3, "<path>$PROJ_DIR$\\lib\\board.c</path>"},
    {2, "</group>"},
    {2, "<group name=\"lib\\hal\">"},
    {3, "<path>$PROJ_DIR$\\lib\\hal\\gpio.c</path>"},
    {3, "<path>$PROJ_DIR$\\lib\\hal\\uart.c</path>"},
    {2, "</group>"},
    {2, "<group name=\"lib\\util\">"},
    {3, "<path>$PROJ_DIR$\\lib\\util\\crc.c</path>"},
    {3, "<path>$PROJ_DIR$\\lib\\util\\delay.s</path>"},
    {2, "</group>"},
    {1, "</files>"},
    {0, "</iarProjectConnection>"},
});

TEST_F(ConnectionDocument, NothingFoundGivesSixLines) {
  EXPECT_EQ(run(true, u"lib\\none", {}, {}), lines({
                                                  {0, "<?xml version=\"1.0\"?>"},
                                                  {0, "<iarProjectConnection name=\"src\" oneShot=\"false\">"},
                                                  {1, "<includePath />"},
                                                  {1, "<asmIncludePath />"},
                                                  {1, "<files />"},
                                                  {0, "</iarProjectConnection>"},
                                              }));
}

TEST_F(ConnectionDocument, TheWorkedExampleAndItsSecondRun) {
  EXPECT_EQ(run(true, u"lib", example_headers, example_sources), example_file);

  // The same folder again adds nothing, but the file is written anew.
  write_file(file_, "<!-- edited -->\r\n" + example_file);
  EXPECT_EQ(run(false, u"lib", example_headers, example_sources), example_file);

  write_file(project_ / "lib/hal/spi.c");
  write_file(project_ / "lib/net/eth.c");
  write_file(project_ / "lib/net/eth.h");
  EXPECT_EQ(run(false, u"lib", {u"lib", u"lib\\hal", u"lib\\net"},
                sources_of({u"lib\\board.c", u"lib\\hal\\gpio.c", u"lib\\hal\\spi.c", u"lib\\hal\\uart.c",
                            u"lib\\net\\eth.c", u"lib\\util\\crc.c", u"lib\\util\\delay.s"})),
            lines({
                {0, "<?xml version=\"1.0\"?>"},
                {0, "<iarProjectConnection name=\"src\" oneShot=\"false\">"},
                {1, "<includePath>"},
                {2, "<path>$PROJ_DIR$\\lib</path>"},
                {2, "<path>$PROJ_DIR$\\lib\\hal</path>"},
                {2, "<path>$PROJ_DIR$\\lib\\net</path>"},
                {1, "</includePath>"},
                {1, "<asmIncludePath>"},
                {2, "<path>$PROJ_DIR$\\lib</path>"},
                {2, "<path>$PROJ_DIR$\\lib\\hal</path>"},
                {2, "<path>$PROJ_DIR$\\lib\\net</path>"},
                {1, "</asmIncludePath>"},
                {1, "<files>"},
                {2, "<group name=\"lib\">"},
                {3, "<path>$PROJ_DIR$\\lib\\board.c</path>"},
                {2, "</group>"},
                {2, "<group name=\"lib\\hal\">"},
                {3, "<path>$PROJ_DIR$\\lib\\hal\\gpio.c</path>"},
                {3, "<path>$PROJ_DIR$\\lib\\hal\\uart.c</path>"},
                {3, "<path>$PROJ_DIR$\\lib\\hal\\spi.c</path>"},
                {2, "</group>"},
                {2, "<group name=\"lib\\util\">"},
                {3, "<path>$PROJ_DIR$\\lib\\util\\crc.c</path>"},
                {3, "<path>$PROJ_DIR$\\lib\\util\\delay.s</path>"},
                {2, "</group>"},
                {2, "<group name=\"lib\\net\">"},
                {3, "<path>$PROJ_DIR$\\lib\\net\\eth.c</path>"},
                {2, "</group>"},
                {1, "</files>"},
                {0, "</iarProjectConnection>"},
            }));
}

TEST_F(ConnectionDocument, TheWorkingDirectoryItselfHasNoGroup) {
  EXPECT_EQ(run(true, u".", {u".", u".\\lib", u".\\lib\\hal"},
                sources_of({u".\\lib\\board.c", u".\\lib\\hal\\gpio.c", u".\\main.c"})),
            lines({
                {0, "<?xml version=\"1.0\"?>"},
                {0, "<iarProjectConnection name=\"src\" oneShot=\"false\">"},
                {1, "<includePath>"},
                {2, "<path>$PROJ_DIR$\\.</path>"},
                {2, "<path>$PROJ_DIR$\\lib</path>"},
                {2, "<path>$PROJ_DIR$\\lib\\hal</path>"},
                {1, "</includePath>"},
                {1, "<asmIncludePath>"},
                {2, "<path>$PROJ_DIR$\\.</path>"},
                {2, "<path>$PROJ_DIR$\\lib</path>"},
                {2, "<path>$PROJ_DIR$\\lib\\hal</path>"},
                {1, "</asmIncludePath>"},
                {1, "<files>"},
                {2, "<group name=\"lib\">"},
                {3, "<path>$PROJ_DIR$\\lib\\board.c</path>"},
                {2, "</group>"},
                {2, "<group name=\"lib\\hal\">"},
                {3, "<path>$PROJ_DIR$\\lib\\hal\\gpio.c</path>"},
                {2, "</group>"},
                {2, "<path>$PROJ_DIR$\\main.c</path>"},
                {1, "</files>"},
                {0, "</iarProjectConnection>"},
            }));
}

TEST_F(ConnectionDocument, GroupsFollowByteOrderAndIncludesPathOrder) {
  for (const char* file : {"lib2/x.c", "lib2/x.h", "lib/hal/y.h", "Drivers/d.c", "app/a.c"}) write_file(project_ / file);
  const std::string written =
      run(true, u".", {u".\\Drivers", u".\\lib\\hal", u".\\lib2"},
          sources_of({u".\\app\\a.c", u".\\Drivers\\d.c", u".\\lib\\hal\\gpio.c", u".\\lib2\\x.c"}));
  EXPECT_NE(written.find(lines({
                {1, "<includePath>"},
                {2, "<path>$PROJ_DIR$\\Drivers</path>"},
                {2, "<path>$PROJ_DIR$\\lib\\hal</path>"},
                {2, "<path>$PROJ_DIR$\\lib2</path>"},
                {1, "</includePath>"},
            })),
            std::string::npos)
      << written;
  EXPECT_NE(written.find(lines({
                {1, "<files>"},
                {2, "<group name=\"Drivers\">"},
                {3, "<path>$PROJ_DIR$\\Drivers\\d.c</path>"},
                {2, "</group>"},
                {2, "<group name=\"app\">"},
                {3, "<path>$PROJ_DIR$\\app\\a.c</path>"},
                {2, "</group>"},
                {2, "<group name=\"lib2\">"},
                {3, "<path>$PROJ_DIR$\\lib2\\x.c</path>"},
                {2, "</group>"},
                {2, "<group name=\"lib\\hal\">"},
                {3, "<path>$PROJ_DIR$\\lib\\hal\\gpio.c</path>"},
                {2, "</group>"},
                {1, "</files>"},
            })),
            std::string::npos)
      << written;
}

TEST_F(ConnectionDocument, ExtendModeOnlyAppendsAndComparesWholeTexts) {
  write_file(file_, lines({
                        {0, "<iarProjectConnection name=\"mine\">"},
                        {1, "<files>"},
                        {2, "<group name=\"LIB\\HAL\">"},
                        {3, "<path>$PROJ_DIR$\\lib\\hal\\gpio.c</path>"},
                        {2, "</group>"},
                        {2, "<group name=\"lib\">"},
                        {3, "<path>$PROJ_DIR$\\LIB\\board.c</path>"},
                        {3, "<path> $PROJ_DIR$\\lib\\board.c </path>"},
                        {3, "<path>$PROJ_DIR$/lib/board.c</path>"},
                        {3, "<path><![CDATA[$PROJ_DIR$\\lib\\util\\crc.c]]></path>"},
                        {3, "<path>$PROJ_DIR$\\lib\\util\\crc.c</path>"},
                        {2, "</group>"},
                        {2, "<path>$PROJ_DIR$\\lib\\hal\\uart.c</path>"},
                        {1, "</files>"},
                        {1, "<includePath>"},
                        {2, "<path>$PROJ_DIR$\\lib\\hal</path>"},
                        {2, "<path>$PROJ_DIR$\\lib\\hal</path>"},
                        {2, "<path><![CDATA[$PROJ_DIR$\\lib]]></path>"},
                        {1, "</includePath>"},
                        {0, "</iarProjectConnection>"},
                    }));
  // crc.c was moved by hand into the group lib, and uart.c into files: both
  // are added again to the group their folder gives. includePath already
  // lists lib, as CDATA.
  EXPECT_EQ(run(false, u"lib", example_headers,
                sources_of({u"lib\\board.c", u"lib\\hal\\gpio.c", u"lib\\hal\\uart.c", u"lib\\util\\crc.c"})),
            lines({
                {0, "<?xml version=\"1.0\"?>"},
                {0, "<iarProjectConnection name=\"mine\">"},
                {1, "<files>"},
                {2, "<group name=\"LIB\\HAL\">"},
                {3, "<path>$PROJ_DIR$\\lib\\hal\\gpio.c</path>"},
                {2, "</group>"},
                {2, "<group name=\"lib\">"},
                {3, "<path>$PROJ_DIR$\\LIB\\board.c</path>"},
                {3, "<path> $PROJ_DIR$\\lib\\board.c </path>"},
                {3, "<path>$PROJ_DIR$/lib/board.c</path>"},
                {3, "<path><![CDATA[$PROJ_DIR$\\lib\\util\\crc.c]]></path>"},
                {3, "<path>$PROJ_DIR$\\lib\\util\\crc.c</path>"},
                {3, "<path>$PROJ_DIR$\\lib\\board.c</path>"},
                {2, "</group>"},
                {2, "<path>$PROJ_DIR$\\lib\\hal\\uart.c</path>"},
                {2, "<group name=\"lib\\hal\">"},
                {3, "<path>$PROJ_DIR$\\lib\\hal\\gpio.c</path>"},
                {3, "<path>$PROJ_DIR$\\lib\\hal\\uart.c</path>"},
                {2, "</group>"},
                {2, "<group name=\"lib\\util\">"},
                {3, "<path>$PROJ_DIR$\\lib\\util\\crc.c</path>"},
                {2, "</group>"},
                {1, "</files>"},
                {1, "<includePath>"},
                {2, "<path>$PROJ_DIR$\\lib\\hal</path>"},
                {2, "<path>$PROJ_DIR$\\lib\\hal</path>"},
                {2, "<path><![CDATA[$PROJ_DIR$\\lib]]></path>"},
                {1, "</includePath>"},
                {0, "</iarProjectConnection>"},
            }));
}

TEST_F(ConnectionDocument, ExtendModeWithoutFilesOrRoot) {
  write_file(file_, "<iarProjectConnection><asmIncludePath/><group name=\"lib\"/></iarProjectConnection>");
  EXPECT_EQ(run(false, u"lib", example_headers, example_sources),
            lines({
                {0, "<?xml version=\"1.0\"?>"},
                {0, "<iarProjectConnection>"},
                {1, "<asmIncludePath>"},
                {2, "<path>$PROJ_DIR$\\lib</path>"},
                {2, "<path>$PROJ_DIR$\\lib\\hal</path>"},
                {1, "</asmIncludePath>"},
                {1, "<group name=\"lib\" />"},
                {0, "</iarProjectConnection>"},
            }));

  write_file(file_, "<!-- old -->\r\n<IarProjectConnection><files/></IarProjectConnection>\r\n");
  EXPECT_EQ(run(false, u"lib", example_headers, example_sources),
            "<?xml version=\"1.0\"?>\n<IarProjectConnection>\n\t<files />\n</IarProjectConnection>\n");
}

TEST_F(ConnectionDocument, AnAmpersandIsEscapedAndFoundAgain) {
  write_file(project_ / "a&b/c&d.c");
  write_file(project_ / "a&b/c&d.h");
  const header_directory_list headers{u"a&b"};
  const source_file_list sources = sources_of({u"a&b\\c&d.c"});
  const std::string expected = lines({
      {0, "<?xml version=\"1.0\"?>"},
      {0, "<iarProjectConnection name=\"src\" oneShot=\"false\">"},
      {1, "<includePath>"},
      {2, "<path>$PROJ_DIR$\\a&amp;b</path>"},
      {1, "</includePath>"},
      {1, "<asmIncludePath>"},
      {2, "<path>$PROJ_DIR$\\a&amp;b</path>"},
      {1, "</asmIncludePath>"},
      {1, "<files>"},
      {2, "<group name=\"a&amp;b\">"},
      {3, "<path>$PROJ_DIR$\\a&amp;b\\c&amp;d.c</path>"},
      {2, "</group>"},
      {1, "</files>"},
      {0, "</iarProjectConnection>"},
  });
  EXPECT_EQ(run(true, u"a&b", headers, sources), expected);
  EXPECT_EQ(run(false, u"a&b", headers, sources), expected);
}

TEST_F(ConnectionDocument, NamesBeyondAsciiAreUtf8AndFoundAgain) {
  write_file(root_ / "work/blinky/M\xC3\xBCller/x.c");
  const source_file_list sources = sources_of({u"M\u00fcller\\x.c"});
  const std::string first = run(true, u"M\u00fcller", {}, sources);
  EXPECT_NE(first.find("<group name=\"M\xC3\xBCller\">\n\t\t\t<path>$PROJ_DIR$\\M\xC3\xBCller\\x.c</path>"),
            std::string::npos)
      << first;
  EXPECT_EQ(run(false, u"M\u00fcller", {}, sources), first);
}

TEST_F(ConnectionDocument, FilesOutsideTheProjectAreGroupedByTheirRelativeFolder) {
  write_file(root_ / "work/shared/s.c");
  const std::string written = run(true, u"..\\shared", {}, sources_of({u"..\\shared\\s.c"}));
  EXPECT_NE(written.find("<group name=\"..\\shared\">\n\t\t\t<path>$PROJ_DIR$\\..\\shared\\s.c</path>"),
            std::string::npos)
      << written;
}

TEST_F(ConnectionDocument, APlanStopsBeforeAnythingIsWritten) {
  // An unpaired surrogate has no narrow text.
  walk_relative_forms forms = start_walk_relative_forms(u".");
  EXPECT_THROW(plan_connection_entries({}, sources_of({u".\\bad\xD800.c"}), forms), system_error);
  EXPECT_THROW(plan_connection_entries({u".\\bad\xD800"}, {}, forms), system_error);
}

TEST_F(ConnectionDocument, AGroupPerFolderSpellingButOneGroupPerName) {
  // Two spellings of one folder make one group, as the lookup finds the
  // group that the first spelling made.
  const connection_entries entries = [&] {
    walk_relative_forms forms = start_walk_relative_forms(u"lib");
    return plan_connection_entries({}, sources_of({u"lib\\board.c", u"lib/hal\\gpio.c", u"lib\\hal\\uart.c"}), forms);
  }();
  EXPECT_EQ(entries.group_names, (std::vector<std::string>{"lib", "lib\\hal", "lib\\hal"}));
  pugi::xml_document document;
  connection_sections sections = build_connection_document(document);
  ASSERT_TRUE(fill_connection_document(sections, entries));
  EXPECT_EQ(std::distance(sections.files.children("group").begin(), sections.files.children("group").end()), 2);
  EXPECT_EQ(std::distance(sections.files.last_child().children().begin(), sections.files.last_child().children().end()),
            2);
}

TEST(ConnectionFill, ExhaustedMemoryIsReported) {
  connection_entries entries;
  entries.group_names = {"lib"};
  for (int i = 0; i < 2000; ++i) {
    entries.include_paths.push_back("$PROJ_DIR$\\inc" + std::to_string(i));
    entries.sources.push_back({"$PROJ_DIR$\\lib\\file" + std::to_string(i) + ".c", i % 2 == 0 ? 0 : connection_entries::no_group});
  }
  for (long budget : {0L, 3L, 10L}) {
    pugi::xml_document document;
    connection_sections sections = build_connection_document(document);
    test_support::failing_allocations failing(budget);
    EXPECT_FALSE(fill_connection_document(sections, entries)) << budget;
  }
  pugi::xml_document document;
  connection_sections sections = build_connection_document(document);
  EXPECT_TRUE(fill_connection_document(sections, entries));
}

}  // namespace
}  // namespace addfolder
