// Project-relative paths: canonical forms, the relative form against the
// working directory or a base, and the path text that the connection file holds.
#pragma once

#include <cstdint>
#include <string>

#include "path.h"
#include "text_roots.h"

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

// The macro (by default "$PROJ_DIR$\") followed by the narrow text of a
// relative form. Raises system_error where a name has no narrow text.
std::string path_text(wide_view relative, std::string_view macro = project_directory_macro);

// Where a folder is, in the forms that the connection file needs.
struct folder_forms {
  // Absolute, links resolved, names as stored.
  wide_path canonical;
  // The root that names it: the deepest base that holds it, else the project directory.
  std::uint32_t root = project_root;
  // Against that root: "." for the root itself, empty where there is none
  // (another drive than the project directory's).
  wide_path relative;
};

// The forms of a folder or a link, resolved by the file system, against the
// roots; the first root is the weakly canonical form of the working
// directory. Raises system_error "weakly_canonical" as weakly_canonical does.
folder_forms resolve_folder_forms(const wide_path& folder, const text_roots& roots);

// The forms of the subfolder name of a folder whose forms are known. The
// subfolder is no link (a walk does not enter links), so nothing needs the
// file system; the answers equal resolve_folder_forms'.
void derive_subfolder_forms(const folder_forms& parent, wide_view name, const text_roots& roots,
                            folder_forms& subfolder);

}  // namespace addfolder
