// Wide paths handed to the POSIX API, and the system's paths taken back.
#pragma once

#include <string>
#include <string_view>

#include "path.h"

namespace addfolder {

// The POSIX spelling of a wide path: UTF-8 with "/" separators. False (native
// cleared) on a lone surrogate.
bool to_posix_path(wide_view path, std::string& native);

// A path from the system as a wide path with "\" separators. False (path
// cleared) where it is no valid UTF-8.
bool from_posix_path(std::string_view native, wide_path& path);

}  // namespace addfolder
