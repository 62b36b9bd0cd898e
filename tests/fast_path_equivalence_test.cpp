// The run takes shortcuts on large trees: relative forms derived from the
// parent directory, path texts from the parent's text, and an index in place
// of walking a section's children. On generated trees they must give the very
// bytes that the plain reading gives: one relative form per path and a linear
// lookup per entry.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <sstream>

#include "documents/connection_document.h"
#include "documents/xml_document.h"
#include "scan/relative_form.h"
#include "scan/source_scan.h"
#include "scan/text_conversion.h"
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

// The entries as the plain reading makes them: every text from its own relative form.
connection_entries plain_entries(const scan_results& scan) {
  connection_entries entries;
  for (const wide_path& directory : scan.headers) entries.include_paths.push_back(path_text(relative_form(directory)));
  std::set<std::string> directories;
  for (const source_file& file : scan.sources) directories.insert(to_narrow(parent_path(file.path)));
  std::map<std::string, size_t> group_index;
  for (const std::string& directory : directories) {
    const std::string name = to_narrow(relative_form(to_wide(directory)));
    if (name == ".") continue;
    group_index.emplace(name, entries.group_names.size());
    entries.group_names.push_back(name);
  }
  for (const source_file& file : scan.sources) {
    const std::string group = to_narrow(relative_form(wide_path(parent_path(file.path))));
    entries.sources.push_back({path_text(relative_form(file.path)),
                               group == "." ? connection_entries::no_group : group_index.at(group)});
  }
  return entries;
}

void append_path(pugi::xml_node section, const std::string& text) {
  section.append_child("path").append_child(pugi::node_pcdata).set_value(text.c_str());
}

// The four passes with the linear lookups.
void plain_fill(connection_sections& sections, const connection_entries& entries) {
  for (pugi::xml_node section : {sections.include_path, sections.asm_include_path}) {
    for (const std::string& text : entries.include_paths) {
      if (!is_path_listed(section, text)) append_path(section, text);
    }
  }
  for (const std::string& name : entries.group_names) {
    if (!find_group(sections.files, name) && sections.files) {
      sections.files.append_child("group").append_attribute("name").set_value(name.c_str());
    }
  }
  for (const connection_entries::source& source : entries.sources) {
    const pugi::xml_node target = source.group == connection_entries::no_group
                                      ? sections.files
                                      : find_group(sections.files, entries.group_names[source.group]);
    if (target && !is_path_listed(target, source.path_text)) append_path(target, source.path_text);
  }
}

void expect_same_entries(const connection_entries& fast, const connection_entries& plain) {
  EXPECT_EQ(fast.include_paths, plain.include_paths);
  EXPECT_EQ(fast.group_names, plain.group_names);
  ASSERT_EQ(fast.sources.size(), plain.sources.size());
  for (size_t i = 0; i < fast.sources.size(); ++i) {
    EXPECT_EQ(fast.sources[i].path_text, plain.sources[i].path_text);
    EXPECT_EQ(fast.sources[i].group, plain.sources[i].group) << fast.sources[i].path_text;
  }
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
    if (choice == 0 && source.group != connection_entries::no_group) {
      append_path(find_group(sections.files, entries.group_names[source.group]), source.path_text);
    } else if (choice == 1) {
      append_path(sections.files, source.path_text);
    } else if (choice == 2) {
      append_path(sections.asm_include_path, " " + source.path_text);
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
      std::ostringstream errors;
      const scan_results scan = scan_tree(scan_root, errors);
      EXPECT_EQ(errors.str(), "");
      walk_relative_forms forms = start_walk_relative_forms(scan_root);
      const connection_entries fast = plan_connection_entries(scan.headers, scan.sources, forms);
      const connection_entries plain = plain_entries(scan);
      expect_same_entries(fast, plain);

      pugi::xml_document fast_document;
      pugi::xml_document plain_document;
      connection_sections fast_sections = build_connection_document(fast_document);
      connection_sections plain_sections = build_connection_document(plain_document);
      ASSERT_TRUE(fill_connection_document(fast_sections, fast));
      plain_fill(plain_sections, plain);
      EXPECT_EQ(saved_form(fast_document), saved_form(plain_document));

      const std::string existing = existing_connection_file(plain, seed);
      for (pugi::xml_document* document : {&fast_document, &plain_document}) {
        ASSERT_TRUE(document->load_buffer(existing.data(), existing.size()));
      }
      fast_sections = open_connection_document(fast_document);
      plain_sections = open_connection_document(plain_document);
      ASSERT_TRUE(fill_connection_document(fast_sections, fast));
      plain_fill(plain_sections, plain);
      EXPECT_EQ(saved_form(fast_document), saved_form(plain_document));
    }
  }
}

}  // namespace
}  // namespace addfolder
