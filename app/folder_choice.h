// The folder that the user typed, made a full path.
#pragma once

#include <optional>

#include "path.h"

namespace addfolder {

// The path made absolute against the working directory when relative, and
// lexically normal. Raises system_error when the working directory cannot be read.
wide_path absolute_form(const wide_path& path);

// The full path of an existing folder that the user typed, taken against the
// working directory when relative; nothing when it names no folder.
std::optional<wide_path> typed_folder(const wide_path& typed);

}  // namespace addfolder
