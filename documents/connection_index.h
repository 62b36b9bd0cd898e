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
#include "text_store.h"

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
  // A group's parent and name, for the group lookup.
  struct group_key {
    pugi::xml_node parent;
    std::string_view name;
  };
  struct group_key_hash {
    size_t operator()(const group_key& key) const;
  };
  struct group_key_equal {
    bool operator()(const group_key& left, const group_key& right) const;
  };
  // Texts of elements count as equal as same_path_text finds them.
  struct text_hash {
    using is_transparent = void;
    size_t operator()(pugi::xml_node element) const { return path_text_hash(element.child_value()); }
    size_t operator()(std::string_view text) const { return path_text_hash(text); }
  };
  struct text_equal {
    using is_transparent = void;
    bool operator()(pugi::xml_node left, pugi::xml_node right) const;
    bool operator()(std::string_view text, pugi::xml_node element) const;
    bool operator()(pugi::xml_node element, std::string_view text) const;
  };

  // The files element, and for each parent whose groups were read, the first
  // group that carries each name.
  pugi::xml_node files;
  std::unordered_set<pugi::xml_node, node_hash> group_parents;
  std::unordered_map<group_key, pugi::xml_node, group_key_hash, group_key_equal> groups;
  // For the tree layout, once read: every element at any depth in files but
  // the groups, by its text.
  bool texts_in_files_indexed = false;
  std::unordered_multiset<pugi::xml_node, text_hash, text_equal> texts_in_files;
  // While a fill appends: a path element after the document element, whose
  // name and text new path elements share; null otherwise.
  pugi::xml_node path_prototype;
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
  // The texts of run_source_texts that the entries make only on demand.
  text_store run_made_texts;
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

// The same among the children of parent, files or a group; null for a null parent.
pugi::xml_node find_child_group(connection_index& index, pugi::xml_node parent, std::string_view name);

// The listing test of the tree layout: an element at any depth in files,
// groups aside, whose text (child_value) is path_text as same_path_text
// compares texts; null where there is none.
pugi::xml_node listing_element_in_files(connection_index& index, std::string_view path_text);

// Appends to section a path element with path_text as its text (between
// begin_appending and end_appending its own value, as the parser stores a
// first text, else a text node);
// null for a null section or one that holds no elements (a text).
// Raises std::bad_alloc when memory runs out.
pugi::xml_node append_path(connection_index& index, pugi::xml_node section, std::string_view path_text);

// Readies the index for many calls of append_path in the document (the
// document node): with a prototype after the document element, every new
// path takes one node instead of two, and shares its name. The document
// must not be saved before end_appending.
void begin_appending(connection_index& index, pugi::xml_node document);

// Takes the prototype of begin_appending out of the document again.
void end_appending(connection_index& index);

// Appends to parent, files or a group, a group element with the attribute
// name; null when parent is null. Raises std::bad_alloc when memory runs out.
pugi::xml_node append_group(connection_index& index, pugi::xml_node parent, std::string_view name);

// The same in files.
inline pugi::xml_node append_group(connection_index& index, std::string_view name) {
  return append_group(index, index.files, name);
}

// Notes that child lists one of this run's entries.
void note_run_entry(connection_index& index, pugi::xml_node child);

// The cheap part of lists_run_entry: true when child is the element that
// the fill noted right after the last one found; then it counts as found.
bool is_next_run_entry(connection_index& index, pugi::xml_node child);

// True when child is the element that the fill found or added for one of
// this run's entries. Another copy of the same text may be the one it found.
bool lists_run_entry(connection_index& index, pugi::xml_node child);

// True when text is the path text of one of the run's source files, in
// whatever section it stands; entries must outlive the index.
bool is_run_source_text(connection_index& index, const connection_entries& entries, std::string_view text);

// True when text is one of the run's include directories, which both
// include sections list; entries must outlive the index.
bool is_run_include_text(connection_index& index, const connection_entries& entries, std::string_view text);

// Removes a child, a path or a group that holds no element, from its
// section and from the index.
void remove_listed_child(connection_index& index, pugi::xml_node child);

}  // namespace addfolder
