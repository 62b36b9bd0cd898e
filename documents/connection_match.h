// Whether a run would leave a connection document as it is.
//
// A pre-build step runs on every build and mostly finds the file as its last
// run wrote it: each fill then finds every entry and each prune finds nothing
// to take away. One pass in document order tells that for far less than the
// fills' lookups and the prunes' tests cost.
#pragma once

#include <vector>

#include <pugixml.hpp>

#include "connection_document.h"
#include "folder_scope.h"

namespace addfolder {

// A folder's entries, and the scope of its prune; null where it has none.
struct planned_entries {
  const connection_entries* entries = nullptr;
  const folder_scope* prune_scope = nullptr;
};

// True when the fills and prunes of the plans, one after the other, would
// leave the document as it is, which holds where, in the flat layout, the
// sections list exactly the plans' entries, plan after plan, in the order in
// which fills of an empty document put them: the include directories in
// both include sections; in files one group per group name, with the name
// as its one attribute, holding its files, then the files that lie directly
// in files. Every text is the entry's byte for byte, no two group names are
// the same text, the sections hold nothing else, and no entry lies within
// the scope of another plan's prune. Then each fill finds every entry, in
// the only group of its name, and each prune finds only its own entries and
// copies of their texts within its scope. False for anything else, which the
// fills and the prunes handle as ever.
bool holds_exactly(const connection_sections& sections, const std::vector<planned_entries>& plans);

// Whether a node's text (child_value) is the source's path text byte for
// byte, told without making the text.
bool holds_source_text(pugi::xml_node node, const connection_entries& entries,
                       const connection_entries::source& source);

}  // namespace addfolder
