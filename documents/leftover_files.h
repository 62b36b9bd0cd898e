// Clearing the hidden files that runs killed in the middle of a save leave
// beside a document.
#pragma once

#include "path.h"

namespace addfolder {

// Removes, in the folder of the final target of file (links followed), every
// regular file whose name is one that beside_name makes for
// that target. Only while no other run can be saving the file, so under the
// run lock: such files are then left over from runs that died. Links,
// folders and every other name stay. Failures are ignored; a file that stays
// is tried again by the next run.
void remove_leftover_files(const wide_path& file);

}  // namespace addfolder
