// What must hold whenever the program loads a document and writes it back:
// the written file loads again, and it holds everything the loaded input
// held, in the same order, with the program's additions after it.
#pragma once

#include <filesystem>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace addfolder::fuzz_support {

// Stops the process with the property's text when it does not hold, so that
// the fuzzer keeps the input that broke it.
void require(bool holds, const char* property);

// Loads bytes by the load convention, as the program loads a file.
bool load_bytes(pugi::xml_document& document, std::string_view bytes);

// Compares the tree loaded from the input with the tree loaded from the
// written file and stops the process unless every node of the input is still
// there: same kind, name, value and attributes, its children the first
// children of its counterpart. Returns the nodes of the written tree that
// come after those: the roots of what the program added.
//
// The load convention keeps no text made only of white space, also where the
// library kept one because the input spells it with character references;
// and texts that stood apart only because a dropped comment or processing
// instruction lay between them are one text once written. An element's
// own value counts as a text before its children.
std::vector<pugi::xml_node> appended_nodes(const pugi::xml_document& input, const pugi::xml_document& written);

// The text of an element as the program reads it once loaded: child_value
// after the adjustments that appended_nodes allows for.
std::string settled_text(pugi::xml_node element);

// Whether element holds one text and nothing else, as its own value or as
// its only child.
bool holds_only_text(pugi::xml_node element);

// The number of direct children of section whose text (child_value) names
// the same file as text ("/" read as "\").
size_t children_with_text(pugi::xml_node section, std::string_view text);

// A file in this process's scratch folder, which is removed at exit. The
// folder is under TMPDIR, so that a memory file system spares the disk.
std::filesystem::path scratch_file(const char* name);

}  // namespace addfolder::fuzz_support
