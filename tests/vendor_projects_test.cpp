// The whole run on project files and connection files in the shapes that the
// IDE and vendor tools write: only group and path elements are added, after
// what is there, everything else stays in order, and a run with nothing new
// writes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <vector>

#include "connection_document.h"
#include "run_sequence.h"
#include "scan_problem_lines.h"
#include "tests/fuzz/document_properties.h"
#include "tests/test_folder.h"
#include "tests/vendor_documents.h"

namespace addfolder {
namespace {

using test_support::read_file;
using test_support::test_folder;
using test_support::to_wide_path;
using test_support::working_directory;
using test_support::write_file;

// An element that a run appended: its parent's name, its own name, and its
// text or group name.
struct appended_element {
  std::string parent;
  std::string name;
  std::string text;
  bool operator==(const appended_element&) const = default;
};

std::ostream& operator<<(std::ostream& stream, const appended_element& element) {
  return stream << element.parent << " > " << element.name << " \"" << element.text << "\"";
}

// What the written file holds beyond the input, which it must hold whole and
// in order, in document order. A connection file is taken as the run opens
// it, with the sections that it lacks.
std::vector<appended_element> appended_elements(const std::string& input, const std::string& written) {
  pugi::xml_document before;
  pugi::xml_document after;
  EXPECT_TRUE(fuzz_support::load_bytes(before, input));
  if (std::strcmp(before.document_element().name(), "iarProjectConnection") == 0) {
    connection_sections sections;
    EXPECT_FALSE(open_connection_document(before, u"", sections));
  }
  EXPECT_TRUE(fuzz_support::load_bytes(after, written));
  std::vector<pugi::xml_node> appended = fuzz_support::appended_nodes(before, after);
  std::vector<appended_element> elements;
  struct collector : pugi::xml_tree_walker {
    bool for_each(pugi::xml_node& node) override {
      // The children of an appended node are appended too.
      bool new_node = false;
      for (pugi::xml_node up = node; up && !new_node; up = up.parent()) {
        new_node = std::find(appended->begin(), appended->end(), up) != appended->end();
      }
      if (!new_node || node.type() != pugi::node_element) return true;
      const std::string name = node.name();
      const pugi::xml_node parent = node.parent();
      const std::string parent_name = std::strcmp(parent.name(), "group") == 0
                                          ? std::string("group ") + parent.attribute("name").value()
                                          : parent.name();
      elements->push_back({parent_name, name, name == "group" ? node.attribute("name").value() : node.child_value()});
      return true;
    }
    std::vector<pugi::xml_node>* appended;
    std::vector<appended_element>* elements;
  } walker;
  walker.appended = &appended;
  walker.elements = &elements;
  after.traverse(walker);
  return elements;
}

// A project folder "hello" with the working directory in it, as the IDE
// starts the program.
class VendorProject : public ::testing::Test {
 protected:
  // Writes a file of the project with a modification time an hour ago, so
  // that any rewrite shows.
  void write_old(const char* name, const std::string& bytes) {
    write_file(project_ / name, bytes);
    std::filesystem::last_write_time(project_ / name,
                                     std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
  }
  void files(std::initializer_list<const char*> names) {
    for (const char* name : names) write_file(project_ / name);
  }
  // One run of the program on the chosen folder; the lines for standard error.
  std::string run(const char* folder) {
    scan_problem_list problems;
    const command_arguments arguments{to_wide_path(project_), u"hello"};
    const run_outcome outcome =
        run_sequence(arguments, {folder_settings{to_wide_path(project_ / folder), {}}}, run_settings{}, problems);
    EXPECT_EQ(outcome.exit_code, 0) << std::string(outcome.message.begin(), outcome.message.end());
    return scan_problem_lines(problems);
  }
  // True when the file has the bytes and the time that write_old gave it.
  void expect_untouched(const char* name, const std::string& bytes) {
    EXPECT_EQ(read_file(project_ / name), bytes) << name;
    EXPECT_LT(std::filesystem::last_write_time(project_ / name),
              std::filesystem::file_time_type::clock::now() - std::chrono::minutes(30))
        << name << " was written again";
  }

  test_folder root_;
  std::filesystem::path project_ = root_ / "hello";
  working_directory cwd_{(std::filesystem::create_directories(project_), project_)};
};

TEST_F(VendorProject, TheVendorsConnectionFileKeepsEverythingAndGainsTheNewEntries) {
  const std::string project = test_support::vendor_example_project();
  const std::string connection = test_support::vendor_connection_file();
  write_old("hello.ewp", project);
  write_old("hello.ipcf", connection);
  // fsl_uart.c is listed with "/" in the group "drivers/uart".
  files({"drivers/uart/fsl_uart.c", "drivers/uart/fsl_uart.h", "drivers/uart/fsl_uart_dma.c", "drivers/gpio/fsl_gpio.c",
         "drivers/gpio/fsl_gpio.h"});

  EXPECT_EQ(run("drivers"), "");
  expect_untouched("hello.ewp", project);
  const std::string written = read_file(project_ / "hello.ipcf");
  EXPECT_EQ(appended_elements(connection, written),
            (std::vector<appended_element>{
                {"asmIncludePath", "path", "$PROJ_DIR$\\drivers\\gpio"},
                {"asmIncludePath", "path", "$PROJ_DIR$\\drivers\\uart"},
                {"includePath", "path", "$PROJ_DIR$\\drivers\\gpio"},
                {"includePath", "path", "$PROJ_DIR$\\drivers\\uart"},
                {"group drivers/uart", "path", "$PROJ_DIR$\\drivers\\uart\\fsl_uart_dma.c"},
                {"files", "group", "drivers\\gpio"},
                {"group drivers\\gpio", "path", "$PROJ_DIR$\\drivers\\gpio\\fsl_gpio.c"},
            }));

  // The second run finds everything listed and writes nothing.
  write_old("hello.ipcf", written);
  EXPECT_EQ(run("drivers"), "");
  expect_untouched("hello.ewp", project);
  expect_untouched("hello.ipcf", written);
}

TEST_F(VendorProject, PathsWrittenWithSlashesCountAsListed) {
  const std::string project = test_support::vendor_example_project();
  const std::string connection = test_support::vendor_connection_file();
  write_old("hello.ewp", project);
  write_old("hello.ipcf", connection);
  // The board folder is listed with "/" in both include sections and in two
  // groups "board". Only the first of them counts: clock_config.c, which the
  // second one lists, is added to the first, as is the new peripherals.c.
  files({"board/board.c", "board/board.h", "board/clock_config.c", "board/peripherals.c"});
  EXPECT_EQ(run("board"), "");
  EXPECT_EQ(appended_elements(connection, read_file(project_ / "hello.ipcf")),
            (std::vector<appended_element>{{"group board", "path", "$PROJ_DIR$\\board\\clock_config.c"},
                                           {"group board", "path", "$PROJ_DIR$\\board\\peripherals.c"}}));
  expect_untouched("hello.ewp", project);
}

TEST_F(VendorProject, ProjectFilesThatNameTheConnectionFileAreNotWritten) {
  const std::string connection = test_support::vendor_connection_file();
  for (const std::string& project : {test_support::vendor_example_project(),
                                     test_support::ide_project_control_files(true), test_support::large_project()}) {
    write_old("hello.ewp", project);
    write_old("hello.ipcf", connection);
    files({"hello.c"});
    EXPECT_EQ(run("."), "");
    expect_untouched("hello.ewp", project);
    expect_untouched("hello.ipcf", connection);
  }
  EXPECT_GT(test_support::large_project().size(), 780u * 1024);
}

TEST_F(VendorProject, ProjectFilesWithoutTheReferenceGainOneEntryLast) {
  for (const std::string& project :
       {test_support::ide_project_crlf(), test_support::ide_project_control_files(false)}) {
    write_old("hello.ewp", project);
    files({"app/main.c"});
    EXPECT_EQ(run("app"), "");
    const std::string written = read_file(project_ / "hello.ewp");
    EXPECT_EQ(appended_elements(project, written),
              (std::vector<appended_element>{{"project", "file", ""}, {"file", "name", "$PROJ_DIR$\\hello.ipcf"}}));
    EXPECT_EQ(written.find('\r'), std::string::npos);
    EXPECT_NE(read_file(project_ / "hello.ipcf").find("<group name=\"app\">"), std::string::npos);
  }
}

TEST_F(VendorProject, ALargeVendorConnectionFileGainsOnlyWhatIsNew) {
  const std::string project = test_support::large_project();
  const std::string connection = test_support::large_vendor_connection_file();
  write_old("hello.ewp", project);
  write_old("hello.ipcf", connection);
  for (int file = 0; file < 50; ++file) {
    write_file(project_ / "sdk/module7" / ("file" + std::to_string(file) + ".c"));
    write_file(project_ / "sdk/module70" / ("file" + std::to_string(file) + ".c"));
  }
  files({"sdk/module7/extra.c", "sdk/inc/sdk.h"});
  EXPECT_EQ(run("sdk"), "");
  const std::string written = read_file(project_ / "hello.ipcf");
  EXPECT_EQ(appended_elements(connection, written),
            (std::vector<appended_element>{{"asmIncludePath", "path", "$PROJ_DIR$\\sdk\\inc"},
                                           {"group sdk/module7", "path", "$PROJ_DIR$\\sdk\\module7\\extra.c"}}));
  write_old("hello.ipcf", written);
  EXPECT_EQ(run("sdk"), "");
  expect_untouched("hello.ipcf", written);
  expect_untouched("hello.ewp", project);
}

}  // namespace
}  // namespace addfolder
