// Arbitrary bytes as the project file. Whatever they are, the link either
// leaves the file alone or writes a file that loads, keeps every node of the
// input in order, adds exactly one top-level reference entry, and is found
// unchanged by a second run.
#include <cstdint>
#include <cstring>
#include <string>

#include "project_link.h"
#include "xml_document.h"
#include "tests/fuzz/document_properties.h"
#include "tests/test_folder.h"

namespace addfolder {
namespace {

using fuzz_support::require;

const std::string reference = connection_reference("blinky");

// The connection file beside the scratch project file.
connection_file_names connection_names(const std::filesystem::path& project_file) {
  connection_file_names names;
  names.project_directory = test_support::to_wide_path(project_file.parent_path());
  names.file_name = u"blinky.ipcf";
  return names;
}

// Below the root element alone: the parser takes a second top-level element
// too, and the link looks in the first.
bool holds_reference(const pugi::xml_document& project, const connection_file_names& names) {
  for (const pugi::xpath_node& name : project.document_element().select_nodes(".//file/name")) {
    if (names_connection_file(fuzz_support::settled_text(name.node()), names)) return true;
  }
  return false;
}

bool has_project_root(const pugi::xml_document& document) {
  return std::strcmp(document.document_element().name(), "project") == 0;
}

// The one entry that the link appends: file, holding name, holding the reference.
void require_reference_entry(pugi::xml_node entry) {
  require(std::strcmp(entry.name(), "file") == 0 && !entry.first_attribute(), "the entry is not a bare file element");
  const pugi::xml_node name = entry.first_child();
  require(name && !name.next_sibling() && std::strcmp(name.name(), "name") == 0 && !name.first_attribute(),
          "the entry does not hold exactly one name");
  require(fuzz_support::holds_only_text(name) && name.child_value() == reference,
          "the name of the entry is not the reference");
}

// What a link did.
enum class linked { found, added, refused };

// Links as a run does: the document is saved when the reference was added.
linked link_and_save(const std::filesystem::path& file) {
  pugi::xml_document project;
  link_result result = link_result::found;
  if (link_project_file(test_support::to_wide_path(file), connection_names(file), reference, project, result)) {
    return linked::refused;
  }
  if (result == link_result::found) return linked::found;
  require(!save_document(project, test_support::to_wide_path(file)), "the save failed");
  return linked::added;
}

void check_link(const std::string& input) {
  const std::filesystem::path file = fuzz_support::scratch_file("blinky.ewp");
  test_support::write_file(file, input);
  pugi::xml_document before;
  const bool loads = fuzz_support::load_bytes(before, input);

  const linked result = link_and_save(file);
  const std::string output = test_support::read_file(file);
  if (!loads || !has_project_root(before)) {
    require(result == linked::refused, "a file that is no project file was not refused");
    require(output == input, "a file that is no project file was changed");
    return;
  }
  require(result != linked::refused, "a project file was refused");
  if (result == linked::found) {
    require(holds_reference(before, connection_names(file)), "found without a reference entry");
    require(output == input, "a file that holds the reference was written");
    return;
  }
  require(!holds_reference(before, connection_names(file)), "the reference was added a second time");

  pugi::xml_document after;
  require(fuzz_support::load_bytes(after, output), "the written project file does not load");
  const std::vector<pugi::xml_node> appended = fuzz_support::appended_nodes(before, after);
  require(appended.size() == 1 && appended.front().parent() == after.document_element(),
          "not exactly one node was appended to project");
  require_reference_entry(appended.front());

  // A second run finds the reference and leaves the bytes as they are.
  require(link_and_save(file) == linked::found, "the second run differs");
  require(test_support::read_file(file) == output, "the second run changed the file");
}

}  // namespace
}  // namespace addfolder

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  addfolder::check_link(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
