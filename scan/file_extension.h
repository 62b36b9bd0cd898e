// The extension of a name, and the extensions that make a source or a header.
#pragma once

#include "path.h"

namespace addfolder {

// The last element from its last dot to the end; empty when the name has no
// dot or its only dot leads it: "x." has ".", "..c" has ".c", ".c" has none.
wide_view path_extension(wide_view path);

// The same for a name alone, which holds no separator: what a listing gives.
wide_view name_extension(wide_view name);

// True for ".c", ".cc", ".cpp", ".s" and ".a", letter case included.
bool is_source_extension(wide_view extension);

// True for ".h" and ".hpp", letter case included.
bool is_header_extension(wide_view extension);

}  // namespace addfolder
