// A new connection file written straight from a run's entries.
//
// A document built, filled and saved costs a node per entry and then a walk
// over all of them; for a file that does not exist yet, its bytes follow
// from the entries alone, and are written as the save would write them.
#pragma once

#include <cstddef>
#include <optional>
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

  const connection_entries* entries_;
  // The places in the entries of what each section lists.
  std::vector<size_t> includes_;
  std::vector<std::vector<size_t>> groups_;
  std::vector<size_t> files_;
};

}  // namespace addfolder
