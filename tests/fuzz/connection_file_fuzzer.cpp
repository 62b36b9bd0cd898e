// Arbitrary bytes as an existing connection file, extended with a fixed small
// scan. Whatever the bytes are, a file that loads is written back so that it
// loads again, keeps every node of the input in order, gains only the path
// and group entries that were missing from the sections that exist, and is
// written with the same bytes by a second run.
#include <cstdint>
#include <cstring>
#include <string>

#include "connection_document.h"
#include "connection_fill.h"
#include "connection_prune.h"
#include "path_text_match.h"
#include "xml_document.h"
#include "tests/fuzz/document_properties.h"
#include "tests/reference_model.h"
#include "tests/test_folder.h"

namespace addfolder {
namespace {

using fuzz_support::children_with_text;
using fuzz_support::require;

// A scan of the worked example, with a header in the working directory, a
// file beside the project and names that need escaping.
connection_entries fixed_entries() {
  connection_entries entries;
  entries.include_paths = {"$PROJ_DIR$\\lib", "$PROJ_DIR$\\lib\\hal", "$PROJ_DIR$\\."};
  entries.group_names = {"lib", "lib\\hal", "a&b <\"c\">"};
  entries.sources = {{"$PROJ_DIR$\\lib\\board.c", 0},
                     {"$PROJ_DIR$\\lib\\hal\\gpio.c", 1},
                     {"$PROJ_DIR$\\lib\\hal\\uart.c", 1},
                     {"$PROJ_DIR$\\a&b <\"c\">\\x&y.c", 2},
                     {"$PROJ_DIR$\\main.c", connection_entries::no_group}};
  return entries;
}

const connection_entries entries = fixed_entries();

bool is_include_path(std::string_view text) {
  for (const std::string& path : entries.include_paths) {
    if (path == text) return true;
  }
  return false;
}

// Whether a source file with this path text belongs in a section: files
// itself for no_group, otherwise the group of that name.
bool is_source_of(std::string_view text, pugi::xml_node section, pugi::xml_node files) {
  for (const connection_entries::source& source : entries.sources) {
    if (path_text_of(entries, source) != text) continue;
    if (source.group() == connection_entries::no_group
            ? section == files
            : section.parent() == files && std::strcmp(section.name(), "group") == 0 &&
                  reference::find_group(files, entries.group_names[source.group()]) == section) {
      return true;
    }
  }
  return false;
}

// An appended path: one text child, listed once in its section, and one of
// the entries meant for that section.
void require_path_entry(pugi::xml_node path, const connection_sections& sections) {
  require(std::strcmp(path.name(), "path") == 0 && !path.first_attribute(), "an appended node is not a bare path");
  require(fuzz_support::holds_only_text(path), "an appended path holds more than a text");
  const std::string_view text = path.child_value();
  const pugi::xml_node section = path.parent();
  require(children_with_text(section, text) == 1, "a path was appended to a section that listed it");
  const bool meant = section == sections.include_path || section == sections.asm_include_path
                         ? is_include_path(text)
                         : is_source_of(text, section, sections.files);
  require(meant, "a path went into a section it does not belong to");
}

void require_group_entry(pugi::xml_node group, const connection_sections& sections) {
  require(group.parent() == sections.files, "a group was appended outside files");
  const pugi::xml_attribute name = group.first_attribute();
  require(name && !name.next_attribute() && std::strcmp(name.name(), "name") == 0, "a new group has not one name");
  require(reference::find_group(sections.files, name.value()) == group, "a group was appended although one had its name");
  for (pugi::xml_node path : group.children()) require_path_entry(path, sections);
}

// After the fill, every entry is listed in its section wherever the section exists.
void require_complete(const connection_sections& sections) {
  for (const std::string& path : entries.include_paths) {
    require(!sections.include_path || reference::is_path_listed(sections.include_path, path), "an include path is missing");
    require(!sections.asm_include_path || reference::is_path_listed(sections.asm_include_path, path),
            "an assembler include path is missing");
  }
  if (!sections.files) return;
  for (const connection_entries::source& source : entries.sources) {
    const pugi::xml_node section = source.group() == connection_entries::no_group
                                       ? sections.files
                                       : reference::find_group(sections.files, entries.group_names[source.group()]);
    require(section && reference::is_path_listed(section, path_text_of(entries, source)), "a source file is missing");
  }
}

// One run in extend mode on a connection file: load, open, fill, save. The
// written bytes, or nothing when the file does not load or is no connection file.
bool extend(const std::filesystem::path& file, std::string& written) {
  pugi::xml_document document;
  connection_sections sections;
  if (load_document(document, test_support::to_wide_path(file)) ||
      open_connection_document(document, test_support::to_wide_path(file), sections)) {
    return false;
  }
  change_log log;
  fill_connection_document(sections, entries, log);
  require(!save_document(document, test_support::to_wide_path(file)), "the save failed");
  written = test_support::read_file(file);
  require(written == saved_form(document), "the file does not hold the saved form");
  return true;
}

void check_extend(const std::string& input) {
  const std::filesystem::path file = fuzz_support::scratch_file("blinky.ipcf");
  test_support::write_file(file, input);
  // The input as the program opens it: a connection file, with the
  // sections that it lacks inserted.
  pugi::xml_document before;
  connection_sections opened;
  const bool loads = fuzz_support::load_bytes(before, input) && !open_connection_document(before, u"", opened);

  std::string output;
  require(extend(file, output) == loads, "the file loads differently from the load convention");
  if (!loads) return;

  pugi::xml_document after;
  require(fuzz_support::load_bytes(after, output), "the written connection file does not load");
  connection_sections sections;
  require(!open_connection_document(after, u"", sections), "the written connection file has another root");
  for (pugi::xml_node node : fuzz_support::appended_nodes(before, after)) {
    if (std::strcmp(node.name(), "group") == 0 && node.parent() == sections.files) {
      require_group_entry(node, sections);
    } else {
      require_path_entry(node, sections);
    }
  }
  require_complete(sections);

  std::string again;
  require(extend(file, again), "the written connection file does not load for a second run");
  require(again == output, "a second run changed the connection file");
}

// The worked example's files as a tree below the folder lib.
connection_entries fixed_tree_entries() {
  connection_entries tree;
  tree.layout = group_layout::tree;
  tree.include_paths = entries.include_paths;
  tree.group_names = {"lib", "hal"};
  tree.group_parents = {connection_entries::no_group, 0};
  tree.top_group = 0;
  tree.sources = {{"$PROJ_DIR$\\lib\\board.c", 0},
                  {"$PROJ_DIR$\\lib\\hal\\gpio.c", 1},
                  {"$PROJ_DIR$\\lib\\hal\\uart.c", 1}};
  return tree;
}

// Whatever the document holds, two runs that fill and prune it as a tree
// leave every source file listed somewhere in files, and the second one
// changes nothing.
void check_tree(const std::string& input) {
  static const connection_entries tree = fixed_tree_entries();
  pugi::xml_document document;
  connection_sections sections;
  if (!fuzz_support::load_bytes(document, input) || open_connection_document(document, u"", sections)) return;
  std::string first;
  for (int run = 0; run < 2; ++run) {
    change_log log;
    fill_result filled = fill_connection_document(sections, tree, log);
    prune_connection_document(sections, tree, project_folder_scope("lib"), filled, log);
    for (const connection_entries::source& source : tree.sources) {
      const pugi::xml_node listed = sections.files.find_node([&](pugi::xml_node node) {
        return node.type() == pugi::node_element && std::strcmp(node.name(), "group") != 0 &&
               same_path_text(node.child_value(), path_text_of(tree, source));
      });
      require(listed, "a source file is missing from the tree");
    }
    if (run == 0) first = saved_form(document);
  }
  require(saved_form(document) == first, "a second run changed the tree");
}

}  // namespace
}  // namespace addfolder

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  addfolder::check_extend(input);
  addfolder::check_tree(input);
  return 0;
}
