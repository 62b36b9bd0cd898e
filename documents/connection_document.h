// The connection file (.ipcf): its sections, and the texts that a scan gives it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "document_error.h"
#include "path.h"
#include "text_store.h"

namespace addfolder {

// The four handles that the filling works on; any may be null in extend mode.
struct connection_sections {
  pugi::xml_node root;
  pugi::xml_node include_path;
  pugi::xml_node asm_include_path;
  pugi::xml_node files;
};

// Builds iarProjectConnection (name="src", oneShot="false") with empty
// includePath, asmIncludePath and files in an empty document.
connection_sections build_connection_document(pugi::xml_document& document);

// Finds the sections of a connection document loaded from file, and inserts
// each section that it lacks in the layout's order: before the first later
// section of the layout that is there, else as the root's last child. An
// error where the root element is not iarProjectConnection. Raises
// std::bad_alloc when memory runs out.
document_error open_connection_document(pugi::xml_document& document, const wide_path& file,
                                        connection_sections& sections);

// How the files of a folder are grouped.
enum class group_layout {
  // One group directly in files per folder, named with its whole relative form.
  flat,
  // A tree: the folder's own group, and in it one group per folder name down
  // to each folder that holds sources.
  tree,
};

// Everything the fill writes, computed before any file is touched, so that a
// path without a relative form or a name without narrow text stops the run
// with nothing written.
struct connection_entries {
  // The index of no group: files itself.
  static constexpr size_t no_group = static_cast<size_t>(-1);
  group_layout layout = group_layout::flat;
  // Path texts of the header directories, in the path order.
  std::vector<std::string> include_paths;
  // Flat: group names, in the byte order of the folders' narrow texts as the
  // walk spells them; "." (the working directory) is not among them. Tree:
  // the names of the group elements, each after its parent, in the walk's order.
  std::vector<std::string> group_names;
  // Tree: the index of each group's parent group, or no_group for files.
  // Empty in the flat layout, where every group lies in files.
  std::vector<size_t> group_parents;
  // Tree: the index of the folder's own group, the top of the tree, or
  // no_group where the folder is the working directory and files is the top.
  size_t top_group = no_group;
  // A source file: its path text, or the part of it after its group's
  // prefix, and the index of its group in group_names, or no_group when it
  // lies directly in files. The text is a view of texts, or of a text that
  // lives as long as the entries. Kept in 16 bytes, since a large tree has a
  // hundred thousand of them.
  class source {
   public:
    // A source whose whole path text is path_text.
    source(std::string_view path_text, size_t group) : source(path_text, group, true) {}
    // A source whose path text is its group's prefix, then name.
    static source after_prefix(std::string_view name, size_t group) { return source(name, group, false); }
    // The index of its group, or no_group.
    size_t group() const { return group_ == static_cast<std::uint32_t>(no_group) ? no_group : group_; }
    // Its whole path text, or the part after its group's prefix.
    std::string_view text() const { return std::string_view(text_, length_ & ~whole_bit); }
    // Whether text() is the whole path text.
    bool is_whole() const { return (length_ & whole_bit) != 0; }

   private:
    static constexpr std::uint32_t whole_bit = 0x80000000u;
    source(std::string_view text, size_t group, bool whole)
        : text_(text.data()), length_(static_cast<std::uint32_t>(text.size()) | (whole ? whole_bit : 0u)),
          group_(static_cast<std::uint32_t>(group)) {}
    const char* text_;
    std::uint32_t length_;
    std::uint32_t group_;
  };
  std::vector<source> sources;
  // The start that the path texts of a group's files share: the folder's
  // text and "\", or a macro alone. Indexed like group_names (empty where
  // no file has it); files_prefix serves the files directly in files. A
  // folder's files name it once, instead of each file.
  std::vector<std::string_view> group_prefixes;
  std::string_view files_prefix;
  // The texts of the sources and prefixes, back to back: no allocation per file.
  text_store texts;
};

// The part of a source's path text before its text(): its group's prefix,
// or nothing where the text is whole.
std::string_view path_prefix_of(const connection_entries& entries, const connection_entries::source& source);

// The path text of a source: its own, or its group's prefix and its text,
// made in scratch, where the view then lives until scratch changes.
std::string_view path_text_of(const connection_entries& entries, const connection_entries::source& source,
                              std::string& scratch);

// The same as a string of its own.
std::string path_text_of(const connection_entries& entries, const connection_entries::source& source);

// Adds a source file whose text the entries keep.
void add_source(connection_entries& entries, std::string_view path_text, size_t group);

// The parent of a group: no_group for files.
size_t group_parent(const connection_entries& entries, size_t group);

// How a report names a group: its name, and in a tree the names of the
// groups above it before it, each followed by "".
std::string group_label(const connection_entries& entries, size_t group);

}  // namespace addfolder
