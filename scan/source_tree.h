// The walk of the chosen folder: one record for every folder that holds a
// source file or a header, with what the connection file needs of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "exclusion_rules.h"
#include "path.h"
#include "relative_form.h"
#include "scan_problem.h"
#include "text_roots.h"
#include "walk_observer.h"

namespace addfolder {

// A source file: an entry whose extension is ".c", ".cc", ".cpp", ".s" or
// ".a" (exactly, letter case included), whatever kind of entry it is.
struct source_entry {
  // Where the narrow text of its name lies in its folder's names: each name
  // is converted once, where the walk meets it.
  std::uint32_t name_start = 0;
  std::uint32_t name_length = 0;
  // The name has no narrow text (an unpaired surrogate, possible on Windows).
  bool unconvertible_name = false;
  // The listing reports a symbolic link or junction.
  bool is_link = false;
  // Most entries' relative form is their folder's and their name. Two kinds
  // have one of their own: a link's leads to its target, and a folder's may
  // lead back towards the working directory. Where the folder keeps it, or
  // no_own_relative, and the root that it leads from; the entries stay small
  // and are copied as plain bytes.
  std::uint32_t own_relative = no_own_relative;
  std::uint32_t own_root = project_root;
  static constexpr std::uint32_t no_own_relative = static_cast<std::uint32_t>(-1);
};

// A folder that the walk entered and found something in.
struct source_folder {
  // As the walk spells it: the scan root, then "\" and a name per level (the
  // parent path of its entries).
  wide_path path;
  // Its relative form against its root, derived from its parent's: "." for
  // the root itself.
  wide_path relative;
  // Its source files, in the order of its listing, and their names' narrow
  // texts back to back.
  std::vector<source_entry> sources;
  std::string names;
  // It holds a regular file (links followed) with the extension ".h" or ".hpp".
  bool holds_header = false;
  // The root that its relative form leads from.
  std::uint32_t root = project_root;
  // The relative forms that some of its sources have of their own.
  std::vector<wide_path> own_relatives;
  // The narrow text of a source's name.
  std::string_view name(const source_entry& entry) const {
    return std::string_view(names).substr(entry.name_start, entry.name_length);
  }
  // A source's own relative form; null where it has the folder's and its name.
  const wide_path* own_relative(const source_entry& entry) const {
    return entry.own_relative == source_entry::no_own_relative ? nullptr : &own_relatives[entry.own_relative];
  }
};

// Appends a source file to a folder, its name converted to narrow text, with
// its own relative form, and the root that it leads from, where it has one.
void add_source_entry(source_folder& folder, wide_view name, bool is_link, const wide_path* own_relative = nullptr,
                      std::uint32_t own_root = project_root);

// Takes a walk's folders one by one, on the walk's own thread, so that their
// records need not pile up until the walk ends.
class folder_receiver {
 public:
  virtual ~folder_receiver() = default;
  // The walk has left the folder, whose place among the folders is index, in
  // the order in which the walk met the first of them. The folders come in
  // the order in which the walk leaves them, each index once.
  virtual void take_folder(source_folder folder, std::size_t index) = 0;
};

// What one walk found: the folders that hold a source file or a header, in
// the order in which the walk met the first of them.
struct source_tree {
  std::vector<source_folder> folders;
  // The observer stopped the walk before its end.
  bool stopped = false;
  // The scan root as the walk spells it, and its forms.
  wide_path root;
  folder_forms root_forms;
  // The roots that the relative forms lead from.
  text_roots roots;
};

// Walks the tree below the scan root, a path that the file system finds from
// the working directory: every entry is looked at once, links are not
// followed, and a folder that cannot be read is left out, as is whatever
// exclusions match (an excluded folder is not entered). Relative forms lead
// from the deepest of the roots that holds the path; the first root is the
// weakly canonical project directory. Problems are appended to
// problems and never end the walk: an entry whose status cannot be read is
// reported and skipped. Raises system_error where the root or a link cannot
// be resolved; std::bad_alloc passes through. The problems met before either
// stay in problems. The folders are listed on as many threads as the options
// say, and the result is the same for any number. With a receiver in the
// options, the folders go to it, the stopped walk's too, and the result keeps none.
source_tree scan_source_tree(const wide_path& scan_root, const text_roots& roots,
                             const exclusion_rules& exclusions, scan_problem_list& problems,
                             const walk_options& options = {});

}  // namespace addfolder
