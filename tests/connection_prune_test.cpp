// What pruning removes from a connection document, and what it never touches.
#include <gtest/gtest.h>

#include "connection_fill.h"
#include "connection_prune.h"
#include "file_name_match.h"
#include "folder_scope.h"
#include "xml_document.h"

namespace addfolder {
namespace {

// The document after a fill and a prune with the folder lib, whose scan
// found lib\a.c (group lib), lib\hal\b.c (group lib\hal) and the include
// directory lib.
std::string pruned(const char* input, change_log& log) {
  pugi::xml_document document;
  EXPECT_FALSE(load_document_bytes(document, input));
  connection_sections sections;
  EXPECT_FALSE(open_connection_document(document, u"lib.ipcf", sections));
  connection_entries entries;
  entries.include_paths = {"$PROJ_DIR$\\lib"};
  entries.group_names = {"lib", "lib\\hal"};
  entries.sources = {{"$PROJ_DIR$\\lib\\a.c", 0}, {"$PROJ_DIR$\\lib\\hal\\b.c", 1}};
  fill_result filled = fill_connection_document(sections, entries, log);
  prune_connection_document(sections, entries, project_folder_scope("lib"), filled, log);
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
          <group name="deeper"><path>$PROJ_DIR$\lib\deep.c</path></group>
          <path>$PROJ_DIR$\lib\<!-- c -->split.c</path><path>$PROJ_DIR$\lib\a.c<x/></path></group>
        <group name="lib\old"><path>$PROJ_DIR$\lib\old\x.c</path></group>
        <group name="lib\mixed">note<path>$PROJ_DIR$\lib\mixed\x.c</path></group>
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
<asmIncludePath>
<path>$PROJ_DIR$\lib</path>
</asmIncludePath>
<files>
<group name="lib">
<path>$PROJ_DIR$/lib/a.c</path>
<path>$PROJ_DIR$\lib\hal\b.c</path>
<path>$PROJ_DIR$\lib\notes.txt</path>
<path>$PROJ_DIR$\lib\b.C</path>
<group name="deeper">
<path>$PROJ_DIR$\lib\deep.c</path>
</group>
<path>$PROJ_DIR$\lib\a.c<x />
</path>
</group>
<group name="lib\empty" />
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
  // hal\b.c, listed by hand in the group lib, is among the run's files and
  // stays there too. The empty group that the user made stays; one that
  // holds a text but no element once its file went does not. A text that a
  // comment splits is judged whole.
  EXPECT_EQ(log.counts.removed_files, 5u);
  EXPECT_EQ(log.counts.groups_with_removed_files, 3u);
  EXPECT_EQ(log.counts.removed_groups, 2u);
  EXPECT_EQ(log.counts.removed_include_directories, 1u);
}

// A text, and whether it lies within the folder as the program itself could
// have written it, so that a prune may remove it: where letter case counts,
// and where it does not.
struct prune_text {
  const char* folder;
  const char* text;
  bool within;
  bool within_ignoring_case = within;
};

constexpr prune_text prune_texts[] = {
    {"lib", "$PROJ_DIR$\\lib", true},
    {"lib", "$PROJ_DIR$\\lib\\hal", true},
    {"lib", "$PROJ_DIR$/lib/hal", true},
    {"lib", "$PROJ_DIR$\\lib\\..\\other\\keep", false},
    {"lib", "$PROJ_DIR$\\lib\\.\\hal", false},
    {"lib", "$PROJ_DIR$\\lib\\\\hal", false},
    {"lib", "$PROJ_DIR$\\lib\\", false},
    {"lib", "$PROJ_DIR$\\library", false},
    {"lib", ".\\lib\\hal", false},
    {".", "$PROJ_DIR$\\.", true},
    {".", "$PROJ_DIR$\\lib", true},
    {".", "$PROJ_DIR$\\..sdk", true},
    {".", "$PROJ_DIR$\\..", false},
    {".", "$PROJ_DIR$\\..\\sdk", false},
    {".", "$PROJ_DIR$\\\\..\\shared", false},
    {"..\\sdk", "$PROJ_DIR$\\..\\sdk\\inc", true},
    {"..\\sdk", "$PROJ_DIR$\\..\\sdk\\..\\other", false},
    {"lib\\hal", "$PROJ_DIR$\\LIB/Hal\\gpio", false, true},
    {"lib\\hal", "$proj_dir$\\lib\\hal", false, true},
    {"lib\\hal", "$PROJ_DIR$\\LIB\\HALT", false},
    {"lib\\halt", "$PROJ_DIR$\\lib\\hal", false},
    {"lib\\halt", "$PROJ_DIR$\\lib\\halt", true, true},
    {"\xC3\xBC" "ber", "$PROJ_DIR$\\\xC3\x9C" "BER\\x", false, true},  // über
    {"\xE2\xB1\xA5", "$PROJ_DIR$\\\xC8\xBA\\x", false, true},        // ⱥ, Ⱥ: three bytes and two
};

TEST(ConnectionPrune, RemovesOnlyTextsThatTheProgramCouldHaveWrittenForTheFolder) {
  for (const prune_text& entry : prune_texts) {
    pugi::xml_document document;
    pugi::xml_node include_path = document.append_child("iarProjectConnection").append_child("includePath");
    include_path.append_child("path").text().set(entry.text);
    connection_sections sections;
    ASSERT_FALSE(open_connection_document(document, u"x.ipcf", sections));
    change_log log;
    fill_result filled = fill_connection_document(sections, connection_entries{}, log);
    prune_connection_document(sections, connection_entries{}, project_folder_scope(entry.folder), filled, log);
    const bool within = host_name_rule == name_rule::exact ? entry.within : entry.within_ignoring_case;
    EXPECT_EQ(log.counts.removed_include_directories, within ? 1u : 0u) << entry.folder << ": " << entry.text;
  }
}

// The prune's remembering test answers as the plain one for every text of
// the table, each also with a last name (plain or not) after it, asked in
// turn so that neighbours share their folder, and for a scope with a base.
TEST(ConnectionPrune, WithinTestAnswersAsThePlainTest) {
  std::vector<folder_scope> scopes;
  for (const prune_text& entry : prune_texts) scopes.push_back(project_folder_scope(entry.folder));
  scopes.push_back({{{"$PROJ_DIR$\\", "lib\\hal"}, {"$SDK$\\", "."}}});
  for (const folder_scope& scope : scopes) {
    // Texts one after another, as a prune reads them.
    within_test in_turn(scope);
    for (const prune_text& entry : prune_texts) {
      const std::string text = std::string(entry.text) + "\\a.c";
      EXPECT_EQ(in_turn(text), is_text_within(scope, text)) << scope.forms[0].relative << ": " << text;
    }
    within_test within(scope);
    for (const prune_text& entry : prune_texts) {
      for (const char* last : {"", "\\a.c", "/b.c", "\\.", "\\..", "\\", "\\x\\c.c"}) {
        for (const std::string& text : {std::string(entry.text) + last, "$SDK$\\drivers" + std::string(last)}) {
          EXPECT_EQ(within(text), is_text_within(scope, text)) << scope.forms[0].relative << ": " << text;
        }
      }
      // Where a folder answers for every text after it, each text gets its answer.
      const std::string prefix = std::string(entry.text) + "\\";
      if (const std::optional<bool> answer = within.after_prefix(prefix)) {
        for (const char* rest : {"a.c", "hal", "HAL", "lib", "sdk", "x\\a.c", "..\\x", ".", ""}) {
          EXPECT_EQ(*answer && has_plain_names(rest), is_text_within(scope, prefix + rest))
              << scope.forms[0].relative << ": " << prefix + rest;
        }
      }
    }
  }
}

TEST(ConnectionPrune, KeepsEveryCopyOfTheRunsIncludeDirectories) {
  // The fill finds lib first, then the copy of lib\hal right after it.
  pugi::xml_document document;
  ASSERT_TRUE(document.load_string(R"(<iarProjectConnection><includePath><path>$PROJ_DIR$\lib\hal</path>
      <path>$PROJ_DIR$\lib</path><path>$PROJ_DIR$\lib\hal</path></includePath></iarProjectConnection>)"));
  connection_sections sections;
  ASSERT_FALSE(open_connection_document(document, u"lib.ipcf", sections));
  connection_entries entries;
  entries.include_paths = {"$PROJ_DIR$\\lib", "$PROJ_DIR$\\lib\\hal"};
  change_log log;
  fill_result filled = fill_connection_document(sections, entries, log);
  prune_connection_document(sections, entries, project_folder_scope("lib"), filled, log);
  EXPECT_EQ(log.counts.removed_include_directories, 0u);
}

}  // namespace
}  // namespace addfolder
