// Project-relative paths: canonical forms, the relative form against the
// working directory, and the path text that the connection file holds.
#pragma once

#include <string>

#include "path.h"

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

// Where a folder is, in the two forms that the connection file needs.
struct folder_forms {
  // Absolute, links resolved, names as stored.
  wide_path canonical;
  // Against the working directory: "." for itself, empty where there is none.
  wide_path relative;
};

// The forms of a folder, resolved by the file system, against the weakly
// canonical form of the working directory. Raises system_error
// "weakly_canonical" as weakly_canonical does.
folder_forms resolve_folder_forms(const wide_path& folder, const wide_path& working_directory);

// The forms of the subfolder name of a folder whose forms are known. The
// subfolder is no link (a walk does not enter links), so nothing needs the
// file system; the answers equal resolve_folder_forms'.
void derive_subfolder_forms(const folder_forms& parent, wide_view name, const wide_path& working_directory,
                            folder_forms& subfolder);

// The relative form of a link (or any path) against the weakly canonical form
// of the working directory, the link resolved by the file system.
wide_path resolved_relative_form(const wide_path& path, const wide_path& working_directory);

}  // namespace addfolder
