// The connection file: its layout, and what create and extend mode add.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <tuple>

#include "connection_document.h"
#include "connection_plan.h"
#include "connection_fill.h"
#include "connection_match.h"
#include "new_connection_file.h"
#include "connection_prune.h"
#include "file_name_match.h"
#include "sorted_runs.h"
#include "xml_document.h"
#include "system_error.h"
#include "tests/failing_allocations.h"
#include "tests/reference_model.h"
#include "tests/test_folder.h"

namespace addfolder {
namespace {

using test_support::read_file;
using test_support::test_folder;
using test_support::to_wide_path;
using test_support::working_directory;
using test_support::write_file;

// A written file from a readable spelling: every two leading spaces stand for one tab.
std::string tabbed(std::string_view text) {
  std::string result;
  bool line_start = true;
  for (size_t i = text.substr(0, 1) == "\n" ? 1 : 0; i < text.size();) {
    if (line_start && text.substr(i, 2) == "  ") {
      result += '\t';
      i += 2;
      continue;
    }
    line_start = text[i] == '\n';
    result += text[i++];
  }
  return result;
}

using reference::header_directory_list;
using reference::source_file_list;

source_file_list sources_of(std::initializer_list<const char16_t*> paths) {
  source_file_list list;
  for (const char16_t* path : paths) list.push_back(reference::source_file{path, false});
  return list;
}

// The project C:\work\blinky of the examples, with the working directory in
// it; the files exist, so relative forms are real.
class ConnectionDocument : public ::testing::Test {
 protected:
  ConnectionDocument() {
    for (const char* file : {"lib/board.c", "lib/board.h", "lib/hal/gpio.c", "lib/hal/gpio.h", "lib/hal/uart.c",
                             "lib/util/crc.c", "lib/util/delay.s", "main.c", "main.h"}) {
      write_file(project_ / file);
    }
  }

  // One run: create mode builds the document new, extend mode loads the
  // file. Returns the file as written, or why it was refused.
  std::string run(bool create, const header_directory_list& headers, const source_file_list& sources) {
    pugi::xml_document document;
    connection_sections sections;
    if (create) {
      sections = build_connection_document(document);
    } else {
      document_error error = load_document(document, to_wide_path(file_));
      if (!error) error = open_connection_document(document, to_wide_path(file_), sections);
      if (error) return "refused: line " + std::to_string(error.line) + ": " + error.detail;
    }
    change_log log;
    fill_connection_document(sections, plan_connection_entries(reference::tree_of(headers, sources)), log);
    EXPECT_FALSE(save_document(document, to_wide_path(file_)));
    return read_file(file_);
  }

  test_folder root_;
  std::filesystem::path project_ = root_ / "work/blinky";
  std::filesystem::path file_ = project_ / "blinky.ipcf";
  working_directory cwd_{(std::filesystem::create_directories(project_), project_)};
};

const header_directory_list example_headers{u"lib", u"lib\\hal"};
const source_file_list example_sources =
    sources_of({u"lib\\board.c", u"lib\\hal\\gpio.c", u"lib\\hal\\uart.c", u"lib\\util\\crc.c", u"lib\\util\\delay.s"});

const std::string example_file = tabbed(R"(
<?xml version="1.0"?>
<iarProjectConnection name="src" oneShot="false">
  <includePath>
    <path>$PROJ_DIR$\lib</path>
    <path>$PROJ_DIR$\lib\hal</path>
  </includePath>
  <asmIncludePath>
    <path>$PROJ_DIR$\lib</path>
    <path>$PROJ_DIR$\lib\hal</path>
  </asmIncludePath>
  <files>
    <group name="lib">
      <path>$PROJ_DIR$\lib\board.c</path>
    </group>
    <group name="lib\hal">
      <path>$PROJ_DIR$\lib\hal\gpio.c</path>
      <path>$PROJ_DIR$\lib\hal\uart.c</path>
    </group>
    <group name="lib\util">
      <path>$PROJ_DIR$\lib\util\crc.c</path>
      <path>$PROJ_DIR$\lib\util\delay.s</path>
    </group>
  </files>
</iarProjectConnection>
)");

TEST_F(ConnectionDocument, NothingFoundGivesSixLines) {
  EXPECT_EQ(run(true, {}, {}), tabbed(R"(
<?xml version="1.0"?>
<iarProjectConnection name="src" oneShot="false">
  <includePath />
  <asmIncludePath />
  <files />
</iarProjectConnection>
)"));
}

TEST_F(ConnectionDocument, TheWorkedExampleAndItsSecondRun) {
  EXPECT_EQ(run(true, example_headers, example_sources), example_file);

  // The same folder again adds nothing, but the file is written anew.
  write_file(file_, "<!-- edited -->\r\n" + example_file);
  EXPECT_EQ(run(false, example_headers, example_sources), example_file);

  for (const char* file : {"lib/hal/spi.c", "lib/net/eth.c", "lib/net/eth.h"}) write_file(project_ / file);
  EXPECT_EQ(run(false, {u"lib", u"lib\\hal", u"lib\\net"},
                sources_of({u"lib\\board.c", u"lib\\hal\\gpio.c", u"lib\\hal\\spi.c", u"lib\\hal\\uart.c",
                            u"lib\\net\\eth.c", u"lib\\util\\crc.c", u"lib\\util\\delay.s"})),
            tabbed(R"(
<?xml version="1.0"?>
<iarProjectConnection name="src" oneShot="false">
  <includePath>
    <path>$PROJ_DIR$\lib</path>
    <path>$PROJ_DIR$\lib\hal</path>
    <path>$PROJ_DIR$\lib\net</path>
  </includePath>
  <asmIncludePath>
    <path>$PROJ_DIR$\lib</path>
    <path>$PROJ_DIR$\lib\hal</path>
    <path>$PROJ_DIR$\lib\net</path>
  </asmIncludePath>
  <files>
    <group name="lib">
      <path>$PROJ_DIR$\lib\board.c</path>
    </group>
    <group name="lib\hal">
      <path>$PROJ_DIR$\lib\hal\gpio.c</path>
      <path>$PROJ_DIR$\lib\hal\uart.c</path>
      <path>$PROJ_DIR$\lib\hal\spi.c</path>
    </group>
    <group name="lib\util">
      <path>$PROJ_DIR$\lib\util\crc.c</path>
      <path>$PROJ_DIR$\lib\util\delay.s</path>
    </group>
    <group name="lib\net">
      <path>$PROJ_DIR$\lib\net\eth.c</path>
    </group>
  </files>
</iarProjectConnection>
)"));
}

TEST_F(ConnectionDocument, GroupsInByteOrderIncludesInPathOrderWorkingDirectoryWithoutGroup) {
  for (const char* file : {"lib2/x.c", "lib2/x.h", "lib/hal/y.h", "Drivers/d.c", "app/a.c"})
    write_file(project_ / file);
  const std::string written =
      run(true, {u".", u".\\Drivers", u".\\lib\\hal", u".\\lib2"},
          sources_of({u".\\app\\a.c", u".\\Drivers\\d.c", u".\\lib\\hal\\gpio.c", u".\\lib2\\x.c", u".\\main.c"}));
  EXPECT_NE(written.find(tabbed(R"(
  <includePath>
    <path>$PROJ_DIR$\.</path>
    <path>$PROJ_DIR$\Drivers</path>
    <path>$PROJ_DIR$\lib\hal</path>
    <path>$PROJ_DIR$\lib2</path>
  </includePath>
)")),
            std::string::npos)
      << written;
  EXPECT_NE(written.find(tabbed(R"(
  <files>
    <group name="Drivers">
      <path>$PROJ_DIR$\Drivers\d.c</path>
    </group>
    <group name="app">
      <path>$PROJ_DIR$\app\a.c</path>
    </group>
    <group name="lib2">
      <path>$PROJ_DIR$\lib2\x.c</path>
    </group>
    <group name="lib\hal">
      <path>$PROJ_DIR$\lib\hal\gpio.c</path>
    </group>
    <path>$PROJ_DIR$\main.c</path>
  </files>
)")),
            std::string::npos)
      << written;
}

TEST_F(ConnectionDocument, ExtendModeOnlyAppendsAndComparesWholeTexts) {
  // crc.c was moved by hand into the group lib, and uart.c into files: both
  // are added again where their folder puts them. includePath lists lib as
  // CDATA. board.c is listed with "/", which counts; white space does not.
  // Other letter case counts where the host's names ignore it: there LIB\HAL
  // is the group of lib\hal, and LIB\board.c lists board.c.
  write_file(file_,
             "<iarProjectConnection name=\"mine\"><files>"
             "<group name=\"LIB\\HAL\"><path>$PROJ_DIR$\\lib\\hal\\gpio.c</path></group>"
             "<group name=\"lib\"><path>$PROJ_DIR$\\LIB\\board.c</path><path> $PROJ_DIR$\\lib\\board.c </path>"
             "<path>$PROJ_DIR$/lib/board.c</path><path>$PROJ_DIR$\\lib\\util\\crc.c</path>"
             "<path>$PROJ_DIR$\\lib\\util\\crc.c</path></group>"
             "<path>$PROJ_DIR$\\lib\\hal\\uart.c</path></files><includePath>"
             "<path>$PROJ_DIR$\\lib\\hal</path><path><![CDATA[$PROJ_DIR$\\lib]]></path></includePath>"
             "</iarProjectConnection>");
  const bool either_case = host_name_rule == name_rule::ignoring_case;
  EXPECT_EQ(run(false, example_headers,
                sources_of({u"lib\\board.c", u"lib\\hal\\gpio.c", u"lib\\hal\\uart.c", u"lib\\util\\crc.c"})),
            tabbed(R"(
<?xml version="1.0"?>
<iarProjectConnection name="mine">
  <asmIncludePath>
    <path>$PROJ_DIR$\lib</path>
    <path>$PROJ_DIR$\lib\hal</path>
  </asmIncludePath>
  <files>
    <group name="LIB\HAL">
      <path>$PROJ_DIR$\lib\hal\gpio.c</path>
)" + std::string(either_case ? "      <path>$PROJ_DIR$\\lib\\hal\\uart.c</path>\n" : "") +
                   R"(    </group>
    <group name="lib">
      <path>$PROJ_DIR$\LIB\board.c</path>
      <path> $PROJ_DIR$\lib\board.c </path>
      <path>$PROJ_DIR$/lib/board.c</path>
      <path>$PROJ_DIR$\lib\util\crc.c</path>
      <path>$PROJ_DIR$\lib\util\crc.c</path>
    </group>
    <path>$PROJ_DIR$\lib\hal\uart.c</path>
)" + std::string(either_case ? "" : R"(    <group name="lib\hal">
      <path>$PROJ_DIR$\lib\hal\gpio.c</path>
      <path>$PROJ_DIR$\lib\hal\uart.c</path>
    </group>
)") + R"(    <group name="lib\util">
      <path>$PROJ_DIR$\lib\util\crc.c</path>
    </group>
  </files>
  <includePath>
    <path>$PROJ_DIR$\lib\hal</path>
    <path><![CDATA[$PROJ_DIR$\lib]]></path>
  </includePath>
</iarProjectConnection>
)"));
}

TEST_F(ConnectionDocument, ShapesThatAreNotTheProgramsAreMendedOrRefused) {
  const struct {
    const char* input;
    const char* written;
  } shapes[] = {
      // Missing sections come in the layout's order, before the first later one that is there.
      {"<iarProjectConnection><asmIncludePath/><group name=\"lib\"/></iarProjectConnection>", R"(
<?xml version="1.0"?>
<iarProjectConnection>
  <includePath>
    <path>$PROJ_DIR$\lib</path>
  </includePath>
  <asmIncludePath>
    <path>$PROJ_DIR$\lib</path>
  </asmIncludePath>
  <group name="lib" />
  <files>
    <group name="lib">
      <path>$PROJ_DIR$\lib\board.c</path>
    </group>
  </files>
</iarProjectConnection>
)"},
      {"<iarProjectConnection><files/><includePath/></iarProjectConnection>", R"(
<?xml version="1.0"?>
<iarProjectConnection>
  <asmIncludePath>
    <path>$PROJ_DIR$\lib</path>
  </asmIncludePath>
  <files>
    <group name="lib">
      <path>$PROJ_DIR$\lib\board.c</path>
    </group>
  </files>
  <includePath>
    <path>$PROJ_DIR$\lib</path>
  </includePath>
</iarProjectConnection>
)"},
      // Texts beside elements, split by a comment, spelled by references or in CDATA.
      {"<iarProjectConnection>note<includePath>x<path>$PROJ_DIR$\\<!-- c -->lib</path></includePath><asmIncludePath>"
       "<path>&#32;<x/></path></asmIncludePath><files><group name=\"lib\">&#32;<path><![CDATA[$PROJ_DIR$\\lib\\board.c]]>"
       "</path></group>t<path>a<x/>b</path></files></iarProjectConnection>",
       R"(
<?xml version="1.0"?>
<iarProjectConnection>note<includePath>x<path>$PROJ_DIR$\lib</path>
  </includePath>
  <asmIncludePath>
    <path>
      <x />
    </path>
    <path>$PROJ_DIR$\lib</path>
  </asmIncludePath>
  <files>
    <group name="lib">
      <path><![CDATA[$PROJ_DIR$\lib\board.c]]></path>
    </group>t<path>a<x />b</path>
  </files>
</iarProjectConnection>
)"},
      {"<!-- old -->\r\n<IarProjectConnection><files/></IarProjectConnection>\r\n",
       "refused: line 0: IarProjectConnection"},
      {"<iarProjectConnection>\r\n<files>\r\n</iarProjectConnection>", "refused: line 3: Start-end tags mismatch"},
      {"", "refused: line 1: No document element found"},
  };
  for (const auto& shape : shapes) {
    write_file(file_, shape.input);
    const std::string expected = shape.written[0] == '\n' ? tabbed(shape.written) : shape.written;
    EXPECT_EQ(run(false, {u"lib"}, sources_of({u"lib\\board.c"})), expected) << shape.input;
  }
}

TEST_F(ConnectionDocument, AmpersandsAndNamesBeyondAsciiAreFoundAgain) {
  write_file(project_ / "a&b/c&d.c");
  write_file(root_ / "work/blinky/M\xC3\xBCller/x.c");
  const source_file_list sources = sources_of({u"a&b\\c&d.c", u"M\u00fcller\\x.c"});
  const std::string first = run(true, {u"a&b"}, sources);
  for (const char* written : {"\t\t<path>$PROJ_DIR$\\a&amp;b</path>\n",
                              "<group name=\"a&amp;b\">\n\t\t\t<path>$PROJ_DIR$\\a&amp;b\\c&amp;d.c</path>",
                              "<group name=\"M\xC3\xBCller\">\n\t\t\t<path>$PROJ_DIR$\\M\xC3\xBCller\\x.c</path>"}) {
    EXPECT_NE(first.find(written), std::string::npos) << first;
  }
  EXPECT_EQ(run(false, {u"a&b"}, sources), first);
}

TEST_F(ConnectionDocument, APlanStopsBeforeAnythingIsWritten) {
  // An unpaired surrogate has no narrow text.
  source_tree file;
  add_source_entry(file.folders.emplace_back(source_folder{u".", u".", {}, {}, false, {}, {}}), u"bad\xD800.c", false);
  source_tree header;
  header.folders.push_back(source_folder{u".\\bad\xD800", u"bad\xD800", {}, {}, true, {}, {}});
  for (const source_tree* tree : {&file, &header}) {
    EXPECT_THROW(plan_connection_entries(*tree), system_error);
    // While the walk runs, the planner keeps the failure back, so that a
    // walk stopped later still ends as a stop.
    connection_planner planner({}, group_layout::flat);
    EXPECT_NO_THROW(planner.take_folder(tree->folders[0], 0));
    EXPECT_THROW(planner.finish(*tree), system_error);
  }
}

TEST(SortedRuns, GiveTheOrderOfAStableSortForAnyCount) {
  using item = std::pair<int, int>;
  const auto less = [](const item& left, const item& right) { return left.first < right.first; };
  for (const int count : {0, 1, 2, 3, 7, 8, 9, 100, 1000}) {
    sorted_runs<item, decltype(less)> runs(less);
    std::vector<item> expected;
    for (int i = 0; i < count; ++i) {
      // Few distinct keys, so that many items tie and must keep their order.
      const item next{(i * 7919) % 13, i};
      runs.add(next);
      expected.push_back(next);
    }
    std::stable_sort(expected.begin(), expected.end(), less);
    EXPECT_EQ(runs.sorted(), expected) << count;
  }
}

TEST(TextStore, EveryTextStaysWhereItWasPutWhateverItsLength) {
  // Short texts fill blocks; long ones come between them, some first, some
  // where a block has too little room left, some larger than a block.
  const std::vector<std::vector<size_t>> orders = {
      {70000, 10, 20000, 10, 65536}, {10, 16384, 16385, 60000, 3, 40000}, {65536, 65536, 1}};
  for (const std::vector<size_t>& lengths : orders) {
    auto store = std::make_unique<text_store>();
    std::vector<std::pair<std::string, std::string_view>> kept;
    for (size_t i = 0; i < lengths.size() * 50; ++i) {
      const size_t length = i % 50 == 0 ? lengths[i / 50] : i % 7 + 1;
      std::string text(length, static_cast<char>('a' + i % 26));
      const std::string_view view = store->add(text);
      kept.emplace_back(std::move(text), view);
    }
    const text_store moved = std::move(*store);
    store.reset();
    for (const auto& [text, view] : kept) EXPECT_EQ(view, text);
  }
}

TEST(ConnectionFill, ExhaustedMemoryIsReported) {
  connection_entries entries;
  entries.group_names = {"lib"};
  for (size_t i = 0; i < 2000; ++i) {
    entries.include_paths.push_back("$PROJ_DIR$\\inc" + std::to_string(i));
    add_source(entries, "$PROJ_DIR$\\lib\\file" + std::to_string(i) + ".c", i % 2 == 0 ? 0 : connection_entries::no_group);
  }
  for (long budget : {0L, 3L, 10L, -1L}) {
    pugi::xml_document document;
    connection_sections sections = build_connection_document(document);
    test_support::failing_allocations failing(budget < 0 ? 1000000 : budget);
    if (budget < 0) {
      change_log log;
      fill_connection_document(sections, entries, log);
      EXPECT_EQ(log.counts.added_include_directories + log.counts.added_groups + log.counts.added_files, 4001u);
    } else {
      change_log log;
      EXPECT_THROW(fill_connection_document(sections, entries, log), std::bad_alloc) << budget;
    }
  }
}

// A group or include section that the fill makes lists each text once,
// however the run's texts repeat: in one group, in two groups of one name,
// far apart, whole or after the prefix, with either separator.
TEST(ConnectionFill, AMadeGroupListsEachTextOnce) {
  struct planned_source {
    size_t group;
    std::string text;
    bool whole;
  };
  const auto many = [](std::vector<planned_source> sources) {
    for (int i = 0; i < 20; ++i) sources.insert(sources.begin() + 1, {0, "f" + std::to_string(i) + ".c", false});
    return sources;
  };
  const struct {
    std::vector<std::string> groups;
    std::vector<planned_source> sources;
  } cases[] = {
      {{"lib"}, {{0, "a.c", false}, {0, "b.c", false}, {0, "a.c", false}}},
      {{"lib", "lib"}, {{0, "a.c", false}, {1, "a.c", false}, {1, "b.c", false}}},
      {{"lib"}, many({{0, "a.c", false}, {0, "a.c", false}, {0, "f3.c", false}})},
      {{"lib"}, {{0, "a.c", false}, {0, "$PROJ_DIR$\\lib\\a.c", true}, {0, "$PROJ_DIR$\\lib\\b.c", true}}},
      {{"lib"}, {{0, "x\\a.c", false}, {0, "x/a.c", false}}},
      {{"lib", "inc"}, {{0, "a.c", false}, {1, "a.c", false}, {0, "a.c", false}}},
  };
  for (const auto& example : cases) {
    connection_entries entries;
    entries.group_names = example.groups;
    entries.include_paths = {"$PROJ_DIR$\\inc", "$PROJ_DIR$\\lib", "$PROJ_DIR$/inc", "$PROJ_DIR$\\lib"};
    entries.group_prefixes.assign(example.groups.size(), entries.texts.add("$PROJ_DIR$\\lib\\"));
    for (const planned_source& source : example.sources) {
      const std::string_view text = entries.texts.add(source.text);
      entries.sources.push_back(source.whole ? connection_entries::source(text, source.group)
                                             : connection_entries::source::after_prefix(text, source.group));
    }
    const auto [filled, plain] = reference::new_documents_filled(entries, entries);
    EXPECT_EQ(filled, plain) << example.sources.back().text;
  }
}

// The run leaves alone a file that lists exactly what its folders give, and
// only such a file: whatever the check accepts, the fills and prunes would
// not change.
TEST(ConnectionMatch, AcceptsOnlyWhatTheFillsAndPrunesWouldLeaveAsItIs) {
  const auto plan_of = [](const std::string& folder, bool after_prefix) {
    connection_entries entries;
    const std::string prefix = "$PROJ_DIR$\\" + folder;
    entries.include_paths = {prefix, prefix + "\\inc"};
    entries.group_names = {folder, folder + "\\hal"};
    entries.group_prefixes = {entries.texts.add(prefix + "\\"), entries.texts.add(prefix + "\\hal\\")};
    for (const auto& [group, name] : {std::pair(0, "a.c"), {0, "b.c"}, {1, "gpio.c"}}) {
      if (after_prefix) {
        entries.sources.push_back(connection_entries::source::after_prefix(entries.texts.add(name), group));
      } else {
        add_source(entries, std::string(entries.group_prefixes[group]) + name, group);
      }
    }
    return entries;
  };
  const connection_entries lib = plan_of("lib", true);
  const connection_entries app = plan_of("app", false);
  connection_entries twin = plan_of("app", false);
  twin.group_names[1] = "lib";
  connection_entries tree = plan_of("app", false);
  tree.layout = group_layout::tree;
  const folder_scope lib_scope = project_folder_scope("lib");
  const folder_scope app_scope = project_folder_scope("app");
  const folder_scope whole_project = project_folder_scope(".");
  const auto no_change = [](pugi::xml_node) {};
  const struct {
    const char* what;
    std::vector<planned_entries> plans;
    std::function<void(pugi::xml_node)> change;
    bool holds;
  } cases[] = {
      {"as the fills made it", {{&lib, &lib_scope}, {&app, &app_scope}}, no_change, true},
      {"one folder of two", {{&lib, &lib_scope}}, no_change, false},
      {"a prune that reaches the other folder", {{&lib, &lib_scope}, {&app, &whole_project}}, no_change, false},
      {"the same folder without its prune", {{&lib, &lib_scope}, {&app, nullptr}}, no_change, true},
      {"two groups of one name", {{&lib, &lib_scope}, {&twin, &app_scope}},
       [](pugi::xml_node files) { files.last_child().attribute("name").set_value("lib"); }, false},
      {"a tree", {{&lib, &lib_scope}, {&tree, &app_scope}}, no_change, false},
      {"a file more", {{&lib, &lib_scope}, {&app, &app_scope}},
       [](pugi::xml_node files) { files.first_child().append_child("path").text().set("$PROJ_DIR$\\lib\\c.c"); },
       false},
      {"a comment", {{&lib, &lib_scope}, {&app, &app_scope}},
       [](pugi::xml_node files) { files.append_child(pugi::node_comment).set_value("x"); }, false},
      {"a group with two names", {{&lib, &lib_scope}, {&app, &app_scope}},
       [](pugi::xml_node files) { files.first_child().append_attribute("name").set_value("x"); }, false},
      {"a name in other letter case", {{&lib, &lib_scope}, {&app, &app_scope}},
       [](pugi::xml_node files) { files.first_child().attribute("name").set_value("LIB"); }, false},
      {"an include directory less", {{&lib, &lib_scope}, {&app, &app_scope}},
       [](pugi::xml_node files) { files.previous_sibling().remove_child(files.previous_sibling().last_child()); },
       false},
  };
  for (const auto& example : cases) {
    pugi::xml_document document;
    connection_sections sections = build_connection_document(document);
    change_log log;
    for (const connection_entries* plan : {&lib, &app}) fill_connection_document(sections, *plan, log);
    example.change(sections.files);
    EXPECT_EQ(holds_exactly(sections, example.plans), example.holds) << example.what;
    if (!example.holds) continue;
    const std::string before = saved_form(document);
    change_log changes;
    for (const planned_entries& plan : example.plans) {
      fill_result filled = fill_connection_document(sections, *plan.entries, changes);
      if (plan.prune_scope != nullptr) {
        prune_connection_document(sections, *plan.entries, *plan.prune_scope, filled, changes);
      }
    }
    EXPECT_EQ(saved_form(document), before) << example.what;
  }
}

// A new file written straight from the entries holds the bytes, and the run
// counts the changes, that a new document filled and saved gives: with texts
// that need escaping, repeated texts, empty sections, groups and files.
TEST(NewConnectionFile, IsWhatTheFilledDocumentSaves) {
  const auto entries_of = [](std::vector<std::string> includes, std::vector<std::string> groups,
                             std::vector<std::pair<size_t, std::string>> sources) {
    connection_entries entries;
    entries.include_paths = std::move(includes);
    entries.group_names = std::move(groups);
    for (const std::string& name : entries.group_names) {
      entries.group_prefixes.push_back(entries.texts.add("$PROJ_DIR$\\" + name + "\\"));
    }
    entries.files_prefix = entries.texts.add("$PROJ_DIR$\\");
    for (const auto& [group, text] : sources) {
      const std::string_view kept = entries.texts.add(text);
      entries.sources.push_back(text.front() == '$' ? connection_entries::source(kept, group)
                                                    : connection_entries::source::after_prefix(kept, group));
    }
    return entries;
  };
  const size_t files = connection_entries::no_group;
  std::vector<std::pair<size_t, std::string>> many;
  for (int i = 0; i < 20; ++i) many.emplace_back(0, "f" + std::to_string(i % 17) + ".c");
  const std::string odd = "a&b<c>\"'\t\n\r\x01\x1f\xff";
  const connection_entries cases[] = {
      entries_of({}, {}, {}),
      entries_of({"$PROJ_DIR$\\inc", "$PROJ_DIR$/inc", "$PROJ_DIR$\\" + odd}, {"lib", odd, "none"},
                 {{0, "a.c"}, {1, odd + ".c"}, {0, "A.c"}, {0, "a.c"}, {files, "main.c"},
                  {0, "$PROJ_DIR$\\lib\\a.c"}, {files, "$PROJ_DIR$/main.c"}, {1, "b.c"}}),
      entries_of({}, {"lib"}, many),
      entries_of({"$PROJ_DIR$\\inc"}, {}, {{files, "x.c"}}),
      entries_of({}, {"lib"}, {{0, "$PROJ_DIR$\\..\\x.c"}, {0, "a.c"}, {files, "$PROJ_DIR$\\y.c"}}),
  };
  for (const connection_entries& entries : cases) {
    const std::optional<new_connection_file> straight = new_connection_file::plan(entries);
    ASSERT_TRUE(straight);
    const std::string written = reference::written_straight(*straight);
    change_counts counted;
    straight->count(counted);

    pugi::xml_document document;
    connection_sections sections = build_connection_document(document);
    change_log log;
    fill_connection_document(sections, entries, log);
    EXPECT_EQ(written, saved_form(document));
    EXPECT_EQ(std::tie(counted.added_include_directories, counted.added_groups, counted.added_files,
                       counted.groups_with_added_files),
              std::tie(log.counts.added_include_directories, log.counts.added_groups, log.counts.added_files,
                       log.counts.groups_with_added_files));
  }
  connection_entries twins = entries_of({}, {"lib", "lib"}, {});
  EXPECT_FALSE(new_connection_file::plan(twins));
  twins.group_names[1] = "app";
  twins.layout = group_layout::tree;
  EXPECT_FALSE(new_connection_file::plan(twins));
}

}  // namespace
}  // namespace addfolder
