// Arbitrary bytes as the project file. Whatever they are, the link either
// leaves the file alone or writes a file that loads, keeps every node of the
// input in order, adds exactly one top-level reference entry, and is found
// unchanged by a second run.
#include <cstdint>
#include <cstring>
#include <string>

#include "path_text_match.h"
#include "project_link.h"
#include "xml_document.h"
#include "tests/fuzz/document_properties.h"
#include "tests/test_folder.h"

namespace addfolder {
namespace {

using fuzz_support::require;

const std::string reference = connection_reference("blinky");

bool holds_reference(const pugi::xml_document& project) {
  for (const pugi::xpath_node& name : project.select_nodes("/project/file/name")) {
    if (same_path_text(fuzz_support::settled_text(name.node()), reference)) return true;
  }
  return false;
}

// The one entry that the link appends: file, holding name, holding the reference.
void require_reference_entry(pugi::xml_node entry) {
  require(std::strcmp(entry.name(), "file") == 0 && !entry.first_attribute(), "the entry is not a bare file element");
  const pugi::xml_node name = entry.first_child();
  require(name && !name.next_sibling() && std::strcmp(name.name(), "name") == 0 && !name.first_attribute(),
          "the entry does not hold exactly one name");
  const pugi::xml_node text = name.first_child();
  require(text && !text.next_sibling() && text.type() == pugi::node_pcdata && text.value() == reference,
          "the name of the entry is not the reference");
}

// Links as a run does: the document is saved when the reference was added.
link_result link_and_save(const std::filesystem::path& file) {
  pugi::xml_document project;
  const link_result result = link_project_file(test_support::to_wide_path(file), reference, project);
  if (result == link_result::added) {
    require(save_document(project, test_support::to_wide_path(file)), "the save failed");
  }
  return result;
}

void check_link(const std::string& input) {
  const std::filesystem::path file = fuzz_support::scratch_file("blinky.ewp");
  test_support::write_file(file, input);
  pugi::xml_document before;
  const bool loads = fuzz_support::load_bytes(before, input);

  const link_result result = link_and_save(file);
  const std::string output = test_support::read_file(file);
  if (!loads) {
    require(result == link_result::load_failed, "a file that does not load was not refused");
    require(output == input, "a file that does not load was changed");
    return;
  }
  require(result != link_result::load_failed, "a loadable file was refused");
  if (result == link_result::found) {
    require(holds_reference(before), "found without a reference entry");
    require(output == input, "a file that holds the reference was written");
    return;
  }
  require(!holds_reference(before), "the reference was added a second time");

  pugi::xml_document after;
  require(fuzz_support::load_bytes(after, output), "the written project file does not load");
  const std::vector<pugi::xml_node> appended = fuzz_support::appended_nodes(before, after);
  if (before.child("project")) {
    require(appended.size() == 1 && appended.front().parent() == after.child("project"),
            "not exactly one node was appended to project");
    require_reference_entry(appended.front());
  } else {
    require(appended.empty(), "something was added to a file without a project element");
  }

  // A second run finds the reference (or again has nowhere to put it) and
  // leaves the bytes as they are.
  const link_result again = link_and_save(file);
  require(again == (before.child("project") ? link_result::found : link_result::added), "the second run differs");
  require(test_support::read_file(file) == output, "the second run changed the file");
}

}  // namespace
}  // namespace addfolder

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  addfolder::check_link(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
