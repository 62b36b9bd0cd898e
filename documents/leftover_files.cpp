#include "leftover_files.h"

#include <vector>

#include "file_access.h"
#include "file_system.h"

namespace addfolder {
namespace {

// The final target of file, which the saves name their files after. A file
// not made yet is named by its folder's final path and its own name.
bool final_target(const wide_path& file, wide_path& target) {
  const int error = query_final_path(file, target);
  if (error == 0) return true;
  if (!is_not_found_error(error)) return false;
  const wide_view folder = parent_path(file);
  if (query_final_path(folder.empty() ? wide_path(u".") : wide_path(folder), target) != 0) return false;
  append_element(target, file_name(file));
  return true;
}

}  // namespace

void remove_leftover_files(const wide_path& file) {
  wide_path target;
  if (file_name(file).empty() || !final_target(file, target)) return;
  const wide_path folder(parent_path(target));
  const wide_view name = file_name(target);
  directory_listing listing;
  if (list_directory(folder, listing) != 0) return;
  for (const directory_entry& entry : listing.entries) {
    // The saves make regular files only; a link or folder of that name is someone else's.
    if (!entry.is_regular || !is_leftover_name(listing.name(entry), name, host_beside_naming)) continue;
    wide_path leftover = folder;
    append_element(leftover, listing.name(entry));
    forget_old_file(leftover);
  }
}

}  // namespace addfolder
