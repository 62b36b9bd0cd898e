#include "leftover_files.h"

#include <vector>

#include "beside_names.h"
#include "file_replacement.h"
#include "file_system.h"
#include "file_target.h"

namespace addfolder {

void remove_leftover_files(const wide_path& file) {
  wide_path target;
  if (final_target(file, target)) return;
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
