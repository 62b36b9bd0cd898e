// A new connection file written straight from a run's entries.
//
// A document built, filled and saved costs a node per entry and then a walk
// over all of them; for a file that does not exist yet, its bytes follow
// from the entries alone, and are written as the save would write them.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include <pugixml.hpp>

#include "change_log.h"
#include "connection_document.h"

namespace addfolder {

class new_connection_file {
 public:
  // What a new document, filled with the entries, lists: each text once per
  // section, as the fill's listing test lets it in. Nothing where the
  // entries are not written straight: a layout other than flat, two group
  // names that are the same text, or a text that is empty or holds a zero
  // byte. The entries must outlive the result.
  static std::optional<new_connection_file> plan(const connection_entries& entries);

  // Adds what the fill of a new document notes to counts.
  void count(change_counts& counts) const;

  // Writes the bytes that the new document, filled and saved, holds.
  void write(pugi::xml_writer& writer) const;

 private:
  explicit new_connection_file(const connection_entries& entries) : entries_(&entries) {}

  // The places in the entries of the sources that a section lists: each
  // group's, then those that files lists directly.
  std::span<const size_t> listed_in(size_t section) const;

  const connection_entries* entries_;
  // The places in the entries of the include directories that the include
  // sections list, and of the sources that the groups and files list,
  // section after section, and where each section's end.
  std::vector<size_t> includes_;
  std::vector<size_t> sources_;
  std::vector<size_t> ends_;
};

}  // namespace addfolder
