// Adding what a scan found to a connection document.
#pragma once

#include <vector>

#include <pugixml.hpp>

#include "change_log.h"
#include "connection_document.h"

namespace addfolder {

// Adds what is missing, in four passes: includePath, asmIncludePath, the
// groups, the source files; notes every addition in log. Only ever appends.
// When listing is given, it receives every element that lists one of the
// source files afterwards, found or added. Raises std::bad_alloc when the XML
// library runs out of memory; the document must then not be saved.
void fill_connection_document(connection_sections& sections, const connection_entries& entries, change_log& log,
                              std::vector<pugi::xml_node>* listing = nullptr);

}  // namespace addfolder
