// Project-relative paths: canonical forms, the relative form against the
// working directory, and the path text that the connection file holds.
#pragma once

#include <string>
#include <unordered_map>

#include "scan/path.h"

namespace addfolder {

// The prefix of every path text: the IDE's project directory macro and "\".
inline constexpr std::string_view project_directory_macro = "$PROJ_DIR$\\";

// The working directory; raises system_error "current_path()".
wide_path current_path();

// The canonical form of an existing path (links resolved, stored spelling);
// the empty path gives the empty path. Returns the platform's error code.
int canonical_form(const wide_path& path, wide_path& canonical);

// The canonical form when the path exists; otherwise the canonical form of the
// longest existing prefix of its normal form, followed by the remaining names.
// Raises system_error "weakly_canonical" for errors other than not-found.
wide_path weakly_canonical(const wide_path& path);

// The lexically relative path from the working directory to the path, both
// weakly canonical: "." for the working directory itself, empty where there is
// none (another drive or server). Reads the working directory anew.
wide_path relative_form(const wide_path& path);

// "$PROJ_DIR$\" followed by the narrow text of a relative form.
std::string path_text(wide_view relative);

// Relative forms for the paths that one walk yielded, for one run over a tree
// that does not change meanwhile. The working directory and the scan root are
// resolved once; every directory below the root was entered by the walk and
// is no link, so its canonical form is its parent's and its name. The answers
// equal relative_form's.
struct walk_relative_forms {
  struct resolved {
    wide_path canonical;
    wide_path relative;
    // The start of the path text of its entries, made on first use.
    std::string entry_text_prefix;
    bool has_entry_text_prefix = false;
  };
  wide_path scan_root;
  wide_path working_directory;
  std::unordered_map<wide_path, resolved> directories;
  // The directory asked for last: entries of one directory come in a row.
  wide_path last_directory;
  resolved* last_resolved = nullptr;
};

// Starts the cache for one walk; reads the working directory now and raises
// system_error as relative_form does.
walk_relative_forms start_walk_relative_forms(wide_path scan_root);

// The relative form of the scan root or of a directory that the walk entered.
const wide_path& directory_relative_form(walk_relative_forms& forms, const wide_path& directory);

// The relative form of an entry of such a directory; a link is resolved.
wide_path entry_relative_form(walk_relative_forms& forms, const wide_path& entry, bool is_link);

// path_text(entry_relative_form(...)), made from the parent's text and the
// entry's name where that gives the same result.
std::string entry_path_text(walk_relative_forms& forms, const wide_path& entry, bool is_link);

}  // namespace addfolder
