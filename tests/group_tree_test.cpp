// Groups as a tree of folders, and folders named by argument variables: the
// groups and texts that real folders give, and what extend and prune make
// of a document that holds them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "connection_fill.h"
#include "connection_plan.h"
#include "connection_prune.h"
#include "relative_form.h"
#include "text_conversion.h"
#include "tests/test_folder.h"

namespace addfolder {
namespace {

using test_support::test_folder;
using test_support::to_wide_path;
using test_support::working_directory;
using test_support::write_file;

// The children of a node in one line: a group as its name and its children
// in braces, anything else as its text.
std::string outline(pugi::xml_node node) {
  std::string line;
  for (pugi::xml_node child : node.children()) {
    if (!line.empty()) line += ' ';
    const std::string_view name = child.name();
    if (name == "path") {
      line += child.child_value();
    } else {
      line += (name == "group" ? std::string(child.attribute("name").value()) : std::string(name)) + "{" +
              outline(child) + "}";
    }
  }
  return line;
}

// One run of the program's steps on a project work/proj below a fresh
// folder, which holds the files given; an SDK may lie beside it in ST.
struct project_run {
  std::vector<const char*> files;
  // The folder, typed from the project directory.
  const char* folder;
  group_layout layout = group_layout::tree;
  // What files holds before, in create mode none.
  const char* existing = nullptr;
  bool prune = false;
  // NAME and the folder below the fresh one, for each base.
  std::vector<std::pair<const char*, const char*>> bases = {};
};

// The document after the run: its files section, or all its sections.
std::string run(const project_run& test, bool all_sections = false) {
  test_folder root;
  for (const char* file : test.files) write_file(root / file);
  std::filesystem::create_directories(root / "work/proj");
  working_directory cwd(root / "work/proj");
  text_roots roots = project_roots(weakly_canonical(current_path()));
  for (const auto& [name, directory] : test.bases) {
    roots.push_back({variable_macro(name), weakly_canonical(to_wide_path(root / directory))});
  }
  pugi::xml_document document;
  connection_sections sections;
  if (test.existing) {
    EXPECT_TRUE(document.load_string(
        (std::string("<iarProjectConnection><files>") + test.existing + "</files></iarProjectConnection>").c_str()));
    EXPECT_FALSE(open_connection_document(document, u"proj.ipcf", sections));
  } else {
    sections = build_connection_document(document);
  }
  const wide_path folder = to_wide(test.folder);
  scan_problem_list problems;
  const connection_entries entries =
      plan_connection_entries(scan_source_tree(relative_form(folder), roots, exclusion_rules{}, problems), test.layout);
  EXPECT_TRUE(problems.empty());
  change_log log;
  fill_result filled = fill_connection_document(sections, entries, log);
  if (test.prune) {
    prune_connection_document(sections, entries, scope_of_folder(resolve_folder_forms(folder, roots), roots),
                              filled, log);
  }
  return outline(all_sections ? sections.root : sections.files);
}

TEST(GroupTree, FolderShapesGiveTrees) {
  const struct {
    project_run test;
    const char* expected;
  } cases[] = {
      // Sources only in deep folders; a folder with headers alone gets no group.
      {{{"work/proj/Drivers/CMSIS/Device/iar/startup.s", "work/proj/Drivers/CMSIS/Include/core.h",
         "work/proj/Drivers/HAL/Src/hal.c"},
        "Drivers"},
       R"(Drivers{CMSIS{Device{iar{$PROJ_DIR$\Drivers\CMSIS\Device\iar\startup.s}}} )"
       R"(HAL{Src{$PROJ_DIR$\Drivers\HAL\Src\hal.c}}})"},
      // Files at the top: the folder's own go into its group, the project
      // directory's into files; a group's subgroups come before its files.
      {{{"work/proj/main.c", "work/proj/Core/core.c", "work/proj/Core/Src/app.c", "work/proj/Core/Src/sub/x.c"}, "."},
       R"(Core{Src{sub{$PROJ_DIR$\Core\Src\sub\x.c} $PROJ_DIR$\Core\Src\app.c} $PROJ_DIR$\Core\core.c} )"
       R"($PROJ_DIR$\main.c)"},
      // A folder outside the project, named from the project directory or from a base.
      {{{"ST/Cube/Drivers/drv.c", "ST/Cube/Drivers/Src/hal.c"}, "../../ST/Cube/Drivers"},
       R"(..\..\ST\Cube\Drivers{Src{$PROJ_DIR$\..\..\ST\Cube\Drivers\Src\hal.c} )"
       R"($PROJ_DIR$\..\..\ST\Cube\Drivers\drv.c})"},
      {{{"ST/Cube/Drivers/drv.c", "ST/Cube/Drivers/Src/hal.c"}, "../../ST/Cube/Drivers", group_layout::tree, nullptr,
        false, {{"CUBE", "ST/Cube"}}},
       R"($CUBE$\Drivers{Src{$CUBE$\Drivers\Src\hal.c} $CUBE$\Drivers\drv.c})"},
  };
  for (const auto& example : cases) EXPECT_EQ(run(example.test), example.expected) << example.test.folder;
}

TEST(GroupTree, ExtendAndPruneInTheTreeLayout) {
  const struct {
    const char* name;
    project_run test;
    const char* expected;
  } cases[] = {
      {"a new deep file goes after the existing children of its parent",
       {{"work/proj/Drivers/HAL/Src/hal.c", "work/proj/Drivers/HAL/Src/new/deep.c"}, "Drivers", group_layout::tree,
        R"(<group name="Drivers"><group name="HAL"><group name="Src"><path>$PROJ_DIR$\Drivers\HAL\Src\hal.c</path>
           </group></group></group>)",
        true},
       R"(Drivers{HAL{Src{$PROJ_DIR$\Drivers\HAL\Src\hal.c new{$PROJ_DIR$\Drivers\HAL\Src\new\deep.c}}}})"},
      {"a deleted folder goes with the groups that it emptied, bottom up; what is not the program's stays",
       {{"work/proj/Drivers/HAL/Src/hal.c"}, "Drivers", group_layout::tree,
        R"(<group name="Drivers"><group name="CMSIS"><group name="Device"><group name="iar">
             <path>$PROJ_DIR$\Drivers\CMSIS\Device\iar\startup.s</path></group></group>
             <path>$PROJ_DIR$\Drivers\CMSIS\readme.txt</path></group>
           <group name="HAL"><group name="Src"><path>$PROJ_DIR$\Drivers\HAL\Src\hal.c</path></group>
             <path>$PROJ_DIR$\Drivers\..\keep.c</path><group name="a\b"><path>$PROJ_DIR$\Drivers\gone.c</path></group>
           </group><group name="Mine"/></group>)",
        true},
       R"(Drivers{CMSIS{$PROJ_DIR$\Drivers\CMSIS\readme.txt} )"
       R"(HAL{Src{$PROJ_DIR$\Drivers\HAL\Src\hal.c} $PROJ_DIR$\Drivers\..\keep.c a\b{}} Mine{}})"},
      {"from flat to tree no file is listed twice, wherever it stands",
       {{"work/proj/Drivers/HAL/Src/hal.c", "work/proj/Drivers/HAL/Src/gpio.c", "work/proj/Drivers/HAL/Src/new.c"},
        "Drivers", group_layout::tree,
        R"(<group name="Drivers\HAL\Src"><path>$PROJ_DIR$/Drivers/HAL/Src/hal.c</path>
             <path>$PROJ_DIR$\Drivers\HAL\Src\gone.c</path></group>
           <group name="Mine"><group name="deep"><path>$PROJ_DIR$\Drivers\HAL\Src\gpio.c</path></group></group>)",
        true},
       R"(Drivers\HAL\Src{$PROJ_DIR$/Drivers/HAL/Src/hal.c} Mine{deep{$PROJ_DIR$\Drivers\HAL\Src\gpio.c}} )"
       R"(Drivers{HAL{Src{$PROJ_DIR$\Drivers\HAL\Src\new.c}}})"},
  };
  for (const auto& example : cases) EXPECT_EQ(run(example.test), example.expected) << example.name;
}

TEST(GroupTree, TwoBasesOneInsideTheOtherNameTheirFolders) {
  const std::vector<const char*> files{"ST/Cube/Drivers/HAL/Src/hal.c", "ST/Cube/Drivers/HAL/Inc/hal.h",
                                       "ST/Cube/Middlewares/RTOS/Source/tasks.c",
                                       "ST/Cube/Middlewares/RTOS/Source/include/task.h"};
  const std::vector<std::pair<const char*, const char*>> bases{{"CUBE", "ST/Cube"},
                                                               {"RTOS", "ST/Cube/Middlewares/RTOS"}};
  const char* includes = R"(includePath{$CUBE$\Drivers\HAL\Inc $RTOS$\Source\include} )"
                         R"(asmIncludePath{$CUBE$\Drivers\HAL\Inc $RTOS$\Source\include} )";
  EXPECT_EQ(run({files, "../../ST/Cube", group_layout::flat, nullptr, false, bases}, true),
            std::string(includes) + R"(files{$CUBE$\Drivers\HAL\Src{$CUBE$\Drivers\HAL\Src\hal.c} )" +
                R"($RTOS$\Source{$RTOS$\Source\tasks.c}})");
  // Such texts are listed and pruned as texts of the project directory are,
  // while a text from the project directory is another text, and stays.
  const char* existing = R"(<group name="..\..\ST\Cube\Drivers\HAL\Src">
        <path>$PROJ_DIR$\..\..\ST\Cube\Drivers\HAL\Src\hal.c</path></group>
      <group name="$CUBE$\Drivers\HAL\Src"><path>$CUBE$/Drivers/HAL/Src/hal.c</path></group>
      <group name="$CUBE$\Drivers\old"><path>$CUBE$\Drivers\old\x.c</path></group>
      <group name="$RTOS$\Source"><path>$RTOS$\Source\gone.c</path><path>$OTHER$\Source\y.c</path></group>)";
  EXPECT_EQ(run({files, "../../ST/Cube", group_layout::flat, existing, true, bases}),
            R"(..\..\ST\Cube\Drivers\HAL\Src{$PROJ_DIR$\..\..\ST\Cube\Drivers\HAL\Src\hal.c} )"
            R"($CUBE$\Drivers\HAL\Src{$CUBE$/Drivers/HAL/Src/hal.c} )"
            R"($RTOS$\Source{$OTHER$\Source\y.c $RTOS$\Source\tasks.c})");
}

}  // namespace
}  // namespace addfolder
