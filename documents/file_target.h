// The one link resolver of the documents layer: where a write to a file
// lands. Saving, putting back, the lock and the clearing of leftovers all
// name their files after it, so that they agree.
#pragma once

#include "document_error.h"
#include "path.h"

namespace addfolder {

// The file that a write to file reaches: absolute, every link followed (on
// POSIX also one that leads to a file not made yet), names as stored. A
// missing file is named in the final path of its folder.
document_error final_target(const wide_path& file, wide_path& target);

}  // namespace addfolder
