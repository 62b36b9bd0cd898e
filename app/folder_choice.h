// The folder that the user typed, made a full path.
#pragma once

#include <optional>

#include "path.h"

namespace addfolder {

// The full path of an existing folder that the user typed, taken against the
// working directory when relative; nothing when it names no folder.
std::optional<wide_path> typed_folder(const wide_path& typed);

}  // namespace addfolder
