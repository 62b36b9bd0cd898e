// The run takes shortcuts on large trees: one walk for both searches,
// relative forms derived from the parent folder, path texts from the
// folder's text, and an index in place of walking a section's children. On
// generated trees they must give the very bytes that the plain reading
// gives: two scans, one relative form per path and a linear lookup per entry.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>
#include <set>

#include "connection_document.h"
#include "connection_plan.h"
#include "connection_fill.h"
#include "new_connection_file.h"
#include "xml_document.h"
#include "relative_form.h"
#include "source_tree.h"
#include "text_conversion.h"
#include "tests/reference_model.h"
#include "tests/test_folder.h"

namespace addfolder {
namespace {

using test_support::test_folder;
using test_support::working_directory;
using test_support::write_file;

// A tree of a few hundred files in nested folders with mixed names, beside
// and below the project folder, whose own name ends in ".c" so that a walk
// from its parent meets it as a source file. Links where the host can make them.
std::filesystem::path make_random_tree(const test_folder& root, unsigned seed) {
  std::mt19937 random(seed);
  const char* const folders[] = {"Drivers", "drivers", "Inc", "src", "lib2", "lib", "a-b", "a.b", "Z_9", "hal"};
  const char* const stems[] = {"gpio", "Main", "uart", "x.tar", "crc", "B", "a"};
  const char* const extensions[] = {".c", ".h", ".hpp", ".cpp", ".s", ".a", ".cc", ".C", ".txt", ""};
  std::vector<std::filesystem::path> directories{root / "app.c", root / "app.c/sdk", root / "sibling"};
  for (int i = 0; i < 60; ++i) {
    std::filesystem::path directory = directories[random() % directories.size()] / folders[random() % 10];
    std::filesystem::create_directories(directory);
    directories.push_back(directory);
  }
  for (int i = 0; i < 400; ++i) {
    write_file(directories[random() % directories.size()] /
               (std::string(stems[random() % 7]) + std::to_string(i % 13) + extensions[random() % 10]));
  }
  std::error_code no_links;
  std::filesystem::create_directory_symlink(root / "sibling", root / "app.c/sdk/linked_dir", no_links);
  std::filesystem::create_symlink(root / "sibling/lib/crc1.c", root / "app.c/sdk/linked.c", no_links);
  std::filesystem::create_symlink(root / "app.c/sdk/Inc/gpio2.h", root / "app.c/src/linked.h", no_links);
  return root / "app.c";
}

void append_path(pugi::xml_node section, std::string_view text) {
  section.append_child("path").append_child(pugi::node_pcdata).set_value(text.data(), text.size());
}

// The same entries, whatever order the sources come in: the program places
// each folder's files in a row, the plain reading in walk order, and each
// file goes into its own folder's section either way.
void expect_same_entries(const connection_entries& fast, const connection_entries& plain) {
  EXPECT_EQ(fast.include_paths, plain.include_paths);
  EXPECT_EQ(fast.group_names, plain.group_names);
  const auto sources_by_group = [](const connection_entries& entries) {
    std::map<size_t, std::vector<std::string>> groups;
    for (const connection_entries::source& source : entries.sources) groups[source.group()].emplace_back(path_text_of(entries, source));
    return groups;
  };
  EXPECT_EQ(sources_by_group(fast), sources_by_group(plain));
}

// An existing file with some of the entries, duplicates, a moved file and
// near misses, for extend mode.
std::string existing_connection_file(const connection_entries& entries, unsigned seed) {
  std::mt19937 random(seed);
  pugi::xml_document document;
  connection_sections sections = build_connection_document(document);
  for (const std::string& text : entries.include_paths) {
    if (random() % 2) append_path(sections.include_path, text);
  }
  for (size_t i = 0; i < entries.group_names.size(); ++i) {
    if (random() % 3 == 0) continue;
    pugi::xml_node group = sections.files.append_child("group");
    group.append_attribute("name").set_value(entries.group_names[i].c_str());
    if (random() % 5 == 0) sections.files.append_child("group").append_attribute("name").set_value(entries.group_names[i].c_str());
  }
  for (const connection_entries::source& source : entries.sources) {
    const unsigned choice = random() % 4;
    if (choice == 0 && source.group() != connection_entries::no_group) {
      append_path(reference::find_group(sections.files, entries.group_names[source.group()]), path_text_of(entries, source));
    } else if (choice == 1) {
      append_path(sections.files, path_text_of(entries, source));
    } else if (choice == 2) {
      append_path(sections.asm_include_path, " " + path_text_of(entries, source));
    }
  }
  return saved_form(document);
}

TEST(FastPaths, GiveTheBytesOfThePlainReading) {
  for (unsigned seed = 1; seed <= 3; ++seed) {
    test_folder root;
    working_directory cwd(make_random_tree(root, seed));
    for (const wide_path scan_root : {u".", u"sdk", u"..\\sibling", u"sdk\\Inc", u".."}) {
      SCOPED_TRACE(to_narrow(scan_root));
      std::string lines;
      const reference::source_file_list sources = reference::scan_source_files(scan_root, lines);
      const reference::header_directory_list headers = reference::scan_header_directories(scan_root, lines);
      EXPECT_EQ(lines, "");
      scan_problem_list problems;
      const text_roots base_directory = project_roots(weakly_canonical(current_path()));
      const connection_entries fast =
          plan_connection_entries(scan_source_tree(scan_root, base_directory, exclusion_rules{}, problems));
      EXPECT_TRUE(problems.empty());
      const connection_entries plain = reference::plain_entries(headers, sources);
      expect_same_entries(fast, plain);
      // Listed on several threads, the folders come in the same order.
      for (const unsigned jobs : {2u, 8u}) {
        const connection_entries parallel =
            plan_connection_entries(scan_source_tree(scan_root, base_directory, exclusion_rules{}, problems,
                                                     walk_options{jobs}));
        EXPECT_EQ(parallel.sources.size(), fast.sources.size());
        for (size_t i = 0; i < std::min(parallel.sources.size(), fast.sources.size()); ++i) {
          EXPECT_EQ(path_text_of(parallel, parallel.sources[i]), path_text_of(fast, fast.sources[i]));
        }
        EXPECT_EQ(parallel.include_paths, fast.include_paths);
      }

      const auto [fast_made, plain_made] = reference::new_documents_filled(fast, plain);
      EXPECT_EQ(fast_made, plain_made);
      // Written straight, a new file holds the same bytes.
      if (const std::optional<new_connection_file> straight = new_connection_file::plan(fast)) {
        EXPECT_EQ(reference::written_straight(*straight), fast_made);
      }

      const std::string existing = existing_connection_file(plain, seed);
      pugi::xml_document fast_document;
      pugi::xml_document plain_document;
      for (pugi::xml_document* document : {&fast_document, &plain_document}) {
        ASSERT_TRUE(document->load_buffer(existing.data(), existing.size()));
      }
      connection_sections fast_sections;
      connection_sections plain_sections;
      change_log log;
      ASSERT_FALSE(open_connection_document(fast_document, u"fast.ipcf", fast_sections));
      ASSERT_FALSE(open_connection_document(plain_document, u"plain.ipcf", plain_sections));
      fill_connection_document(fast_sections, fast, log);
      reference::plain_fill(plain_sections, plain);
      EXPECT_EQ(saved_form(fast_document), saved_form(plain_document));
    }
  }
}

}  // namespace
}  // namespace addfolder
