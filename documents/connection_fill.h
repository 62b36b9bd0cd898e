// Adding what a scan found to a connection document.
#pragma once

#include <vector>

#include <pugixml.hpp>

#include "change_log.h"
#include "connection_document.h"
#include "connection_index.h"

namespace addfolder {

// What a fill leaves for a prune: the index of the document, which knows
// for each of this run's entries the element that lists it, found or added
// (where a text is listed twice, the one that the lookup found).
struct fill_result {
  connection_index index;
};

// Adds what is missing, in four passes: includePath, asmIncludePath, the
// groups, the source files; notes every addition in log. Only ever appends.
// Raises std::bad_alloc when the XML library runs out of memory; the
// document must then not be saved.
fill_result fill_connection_document(connection_sections& sections, const connection_entries& entries,
                                     change_log& log);

}  // namespace addfolder
