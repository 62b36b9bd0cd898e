// What pruning removes from a connection document, and what it never touches.
#include <gtest/gtest.h>

#include "connection_fill.h"
#include "connection_prune.h"
#include "xml_document.h"

namespace addfolder {
namespace {

// The document after a fill and a prune with the folder lib, whose scan
// found lib\a.c (group lib), lib\hal\b.c (group lib\hal) and the include
// directory lib.
std::string pruned(const char* input, change_log& log) {
  pugi::xml_document document;
  EXPECT_TRUE(document.load_string(input));
  connection_sections sections = open_connection_document(document);
  connection_entries entries;
  entries.include_paths = {"$PROJ_DIR$\\lib"};
  entries.group_names = {"lib", "lib\\hal"};
  entries.sources = {{"$PROJ_DIR$\\lib\\a.c", 0}, {"$PROJ_DIR$\\lib\\hal\\b.c", 1}};
  std::vector<pugi::xml_node> listing;
  fill_connection_document(sections, entries, log, &listing);
  prune_connection_document(sections, entries, "lib", listing, log);
  std::string text = saved_form(document);
  // One line a node is easier to read in a failure: drop the indentation.
  std::erase(text, '\t');
  return text.substr(text.find('\n') + 1);
}

TEST(ConnectionPrune, RemovesWhatTheFolderNoLongerProvidesAndNothingElse) {
  change_log log;
  EXPECT_EQ(pruned(R"(<iarProjectConnection>
      <includePath><path>$PROJ_DIR$/lib</path><path>$PROJ_DIR$\lib\gone</path><path>$PROJ_DIR$\other</path>
        <path>$PROJ_DIR$\library</path></includePath>
      <files>
        <group name="lib"><path>$PROJ_DIR$/lib/a.c</path><path>$PROJ_DIR$\lib\gone.c</path>
          <path>$PROJ_DIR$\lib\hal\b.c</path><path>$PROJ_DIR$\lib\notes.txt</path><path>$PROJ_DIR$\lib\b.C</path>
          <group name="deeper"><path>$PROJ_DIR$\lib\deep.c</path></group></group>
        <group name="lib\old"><path>$PROJ_DIR$\lib\old\x.c</path></group>
        <group name="lib\empty"/>
        <group name="other"><path>$PROJ_DIR$\other\y.c</path></group>
        <group name="library"><path>$PROJ_DIR$\library\z.c</path></group>
        <path>$PROJ_DIR$\lib\loose.s</path><path>.\lib\relative.c</path>
      </files></iarProjectConnection>)",
                   log),
            R"(<iarProjectConnection>
<includePath>
<path>$PROJ_DIR$/lib</path>
<path>$PROJ_DIR$\other</path>
<path>$PROJ_DIR$\library</path>
</includePath>
<files>
<group name="lib">
<path>$PROJ_DIR$/lib/a.c</path>
<path>$PROJ_DIR$\lib\hal\b.c</path>
<path>$PROJ_DIR$\lib\notes.txt</path>
<path>$PROJ_DIR$\lib\b.C</path>
<group name="deeper">
<path>$PROJ_DIR$\lib\deep.c</path>
</group>
</group>
<group name="other">
<path>$PROJ_DIR$\other\y.c</path>
</group>
<group name="library">
<path>$PROJ_DIR$\library\z.c</path>
</group>
<path>.\lib\relative.c</path>
<group name="lib\hal">
<path>$PROJ_DIR$\lib\hal\b.c</path>
</group>
</files>
</iarProjectConnection>
)");
  // hal\b.c, listed by hand in the group lib, is among the run's files and stays there too.
  EXPECT_EQ(log.counts.removed_files, 3u);
  EXPECT_EQ(log.counts.groups_with_removed_files, 2u);
  EXPECT_EQ(log.counts.removed_groups, 2u);
  EXPECT_EQ(log.counts.removed_include_directories, 1u);
}

TEST(ConnectionPrune, TheWorkingDirectoryHoldsAllButWhatLiesAbove) {
  pugi::xml_document document;
  ASSERT_TRUE(document.load_string(
      "<iarProjectConnection><includePath><path>$PROJ_DIR$\\.</path><path>$PROJ_DIR$\\..</path>"
      "<path>$PROJ_DIR$\\..\\sdk</path><path>$PROJ_DIR$\\..sdk</path></includePath></iarProjectConnection>"));
  connection_sections sections = open_connection_document(document);
  change_log log;
  prune_connection_document(sections, connection_entries{}, ".", {}, log);
  EXPECT_EQ(log.counts.removed_include_directories, 2u);
  EXPECT_STREQ(sections.include_path.first_child().child_value(), "$PROJ_DIR$\\..");
  EXPECT_STREQ(sections.include_path.last_child().child_value(), "$PROJ_DIR$\\..\\sdk");
}

}  // namespace
}  // namespace addfolder
