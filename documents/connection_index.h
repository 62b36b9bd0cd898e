// Constant-time lookups in a connection document that answer exactly as the
// walks over the children do, for documents with many groups and files.
#pragma once

#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include <pugixml.hpp>

namespace addfolder {

// What one run knows of its connection document. The index reads a section
// when it is first asked about it and stays right as long as the document
// changes only through append_path and append_group. Texts are views of the
// document's own strings, which pugixml never moves.
struct connection_index {
  struct node_hash {
    size_t operator()(pugi::xml_node node) const { return node.hash_value(); }
  };
  // One direct child of a section, by its text (child_value).
  struct listed_text {
    pugi::xml_node section;
    std::string_view text;
    bool operator==(const listed_text&) const = default;
  };
  struct listed_text_hash {
    size_t operator()(const listed_text& listed) const;
  };

  // The sections whose children listed_texts holds.
  std::unordered_set<pugi::xml_node, node_hash> indexed_sections;
  std::unordered_set<listed_text, listed_text_hash> listed_texts;
  // The files element, and once read, the first group that carries each name.
  pugi::xml_node files;
  bool groups_indexed = false;
  std::unordered_map<std::string_view, pugi::xml_node> groups;
};

// An index for the document whose files element is files (possibly null).
connection_index start_connection_index(pugi::xml_node files);

// Answers as is_path_listed(section, path_text).
bool is_path_listed(connection_index& index, pugi::xml_node section, std::string_view path_text);

// Answers as find_group(index.files, name).
pugi::xml_node find_group(connection_index& index, std::string_view name);

// Appends to section a path element holding one text node with path_text.
// Null for a null section, or when memory ran out.
pugi::xml_node append_path(connection_index& index, pugi::xml_node section, std::string_view path_text);

// Appends to files a group element with the attribute name. Null when files
// is null, or when memory ran out.
pugi::xml_node append_group(connection_index& index, std::string_view name);

}  // namespace addfolder
