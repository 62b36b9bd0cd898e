// The listing test and the group lookup of a connection document, in
// constant time for documents with many groups and files, and the two
// additions that keep them right.
#pragma once

#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "connection_document.h"
#include "path_text_match.h"

namespace addfolder {

// What one run knows of its connection document. A section is read when it
// is first asked about; one with few children is simply walked, the children
// of a larger one are kept in a hash set. The index stays right as long as
// the document changes only through append_path and append_group. It keeps
// node handles and views of the document's own strings, which pugixml never
// moves.
struct connection_index {
  struct node_hash {
    size_t operator()(pugi::xml_node node) const { return node.hash_value(); }
  };
  // A text to look for among the direct children of a section.
  struct listed_text {
    pugi::xml_node section;
    std::string_view text;
  };
  // Children count as equal when they have the same parent and texts
  // (child_value) that same_path_text finds equal; a listed_text finds them.
  struct child_hash {
    using is_transparent = void;
    size_t operator()(pugi::xml_node child) const;
    size_t operator()(const listed_text& listed) const;
  };
  struct child_equal {
    using is_transparent = void;
    bool operator()(pugi::xml_node left, pugi::xml_node right) const;
    bool operator()(const listed_text& listed, pugi::xml_node child) const;
    bool operator()(pugi::xml_node child, const listed_text& listed) const;
  };

  // The number of children of every section looked at so far.
  std::unordered_map<pugi::xml_node, size_t, node_hash> section_sizes;
  // The children of the sections that are too large to walk.
  std::unordered_set<pugi::xml_node, child_hash, child_equal> listed_children;
  // The child after the last one found: a run that finds what an earlier
  // run wrote finds each entry right after the one before. (Where a text is
  // listed twice, either child may be found.)
  pugi::xml_node next_likely;
  // The files element, and once read, the first group that carries each name.
  pugi::xml_node files;
  bool groups_indexed = false;
  std::unordered_map<std::string_view, pugi::xml_node, path_text_hasher, path_text_equal> groups;
  // The elements that list this run's entries, in the order in which the
  // fill found or added them, and the one that lists_run_entry expects next.
  std::vector<const pugi::xml_node_struct*> run_listing;
  size_t run_listing_next = 0;
  // The same with their places in run_listing, sorted by address; made
  // when an element comes out of order.
  std::vector<std::pair<const pugi::xml_node_struct*, size_t>> run_listing_by_address;
  // The path texts of this run's source files and include directories with
  // their hashes, sorted, so that a text is found in any section and in any
  // copy; made when first asked for.
  std::vector<std::pair<size_t, std::string_view>> run_source_texts;
  std::vector<std::pair<size_t, std::string_view>> run_include_texts;
};

// An index for the document whose files element is files (possibly null).
connection_index start_connection_index(pugi::xml_node files);

// The listing test: true when a direct child of section, of any kind, has
// path_text as its text (child_value), as same_path_text compares texts;
// false for a null section.
bool is_path_listed(connection_index& index, pugi::xml_node section, std::string_view path_text);

// A direct child of section that lists path_text, as is_path_listed tells;
// null where none does. It is the first such child, but for a text listed
// twice, where the one after the last found may come first.
pugi::xml_node listing_child(connection_index& index, pugi::xml_node section, std::string_view path_text);

// The group lookup: the first group child of files, in document order, with
// an attribute name (any of them) whose value is name, as same_path_text
// compares texts; null when there is none.
pugi::xml_node find_group(connection_index& index, std::string_view name);

// Appends to section a path element holding one text node with path_text;
// null for a null section or one that holds no elements (a text).
// Raises std::bad_alloc when memory runs out.
pugi::xml_node append_path(connection_index& index, pugi::xml_node section, std::string_view path_text);

// Appends to files a group element with the attribute name; null when files
// is null. Raises std::bad_alloc when memory runs out.
pugi::xml_node append_group(connection_index& index, std::string_view name);

// Notes that child lists one of this run's entries.
void note_run_entry(connection_index& index, pugi::xml_node child);

// True when child is the element that the fill found or added for one of
// this run's entries. Another copy of the same text may be the one it found.
bool lists_run_entry(connection_index& index, pugi::xml_node child);

// True when text is the path text of one of the run's source files, in
// whatever section it stands; entries must outlive the index.
bool is_run_source_text(connection_index& index, const connection_entries& entries, std::string_view text);

// True when text is one of the run's include directories, which both
// include sections list; entries must outlive the index.
bool is_run_include_text(connection_index& index, const connection_entries& entries, std::string_view text);

// Removes a child from its section and from the index. Only the prune
// removes, and nothing is added after it.
void remove_listed_child(connection_index& index, pugi::xml_node child);

}  // namespace addfolder
