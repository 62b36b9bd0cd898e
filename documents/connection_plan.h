// The plan of a connection file made while the walk runs: each folder turns
// into its texts as soon as the walk has left it, so that the walk's records
// never pile up beside the plan, and the work falls where the walk waits for
// the threads that list folders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "connection_document.h"
#include "sorted_runs.h"
#include "source_tree.h"
#include "system_error.h"
#include "text_roots.h"
#include "text_store.h"

namespace addfolder {

// Takes the folders of one walk and makes the entries of the fill from them.
class connection_planner : public folder_receiver {
 public:
  // Texts of what lies in a base begin with its macro; without roots, every
  // text begins with the project directory's.
  connection_planner(const text_roots& roots, group_layout layout);

  // Makes the texts of a folder and lets its records go. A name without
  // narrow text is kept back for finish, so that a walk that is stopped
  // later still ends as a stop.
  void take_folder(source_folder folder, std::size_t index) override;

  // The entries, in the orders that plan_connection_entries gives, once the
  // walk has ended (not stopped); tree is what the walk returned. Raises
  // system_error when a name has no narrow text.
  connection_entries finish(const source_tree& tree);

 private:
  // What the orders need of a folder with sources: its files' texts after
  // its prefix (or whole, where marked) lie back to back from texts, their
  // lengths from first in lengths_.
  struct planned_folder {
    std::uint32_t index = 0;
    std::uint32_t first = 0;
    std::uint32_t count = 0;
    // Tree: where its path lies in paths_.
    std::uint32_t position = 0;
    const char* texts = nullptr;
    // The start of its files' texts, in the entries' texts.
    std::string_view prefix;
    // Flat: the narrow text of its path and its group name, in folder_keys_.
    std::string_view key;
    std::string_view group_name;
  };
  // A header directory: its path order key and its path text, in include_keys_.
  struct planned_include {
    std::string_view key;
    std::string_view text;
    std::size_t index = 0;
  };

  std::string_view macro_of(std::uint32_t root) const;
  std::string group_name(std::uint32_t root, wide_view relative) const;
  void plan_sources(source_folder& folder, std::size_t index);
  void place_sources(const planned_folder& folder, std::size_t group);
  void finish_flat();
  void finish_tree(const source_tree& tree);

  using folder_order = bool (*)(const planned_folder&, const planned_folder&);
  using include_order = bool (*)(const planned_include&, const planned_include&);

  text_roots roots_;
  group_layout layout_;
  connection_entries entries_;
  std::vector<std::uint32_t> lengths_;
  // Flat: in the order of their keys; tree: in the walk's order.
  sorted_runs<planned_folder, folder_order> folders_;
  sorted_runs<planned_include, include_order> includes_;
  // Tree: the folders' paths as the walk spells them.
  std::vector<wide_path> paths_;
  // The texts that only the orders need, each let go as soon as its order
  // has been used, and the texts of the folder at hand.
  text_store include_keys_;
  text_store folder_keys_;
  std::string folder_texts_;
  std::optional<system_error> error_;
};

// Makes the text of every entry from the folders that the walk found: the
// include directories in the path order of the folders, each folder's files
// in its listing's order, and the groups: flat, in the byte order of the
// folders' narrow texts; as a tree, in the walk's order, a group only where
// a folder at or below it holds sources. Texts of what lies in a base begin
// with its macro. Raises system_error when a name has no narrow text or a
// link cannot be resolved.
connection_entries plan_connection_entries(const source_tree& tree, group_layout layout = group_layout::flat);

}  // namespace addfolder
