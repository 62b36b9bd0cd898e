// For the link resolver: the platform's part of following links.
#pragma once

#include "document_error.h"
#include "path.h"

namespace addfolder {

// The path that file leads to once every link on its last name is followed,
// which need not exist; an error for a link that cannot be followed.
document_error follow_links(const wide_path& file, wide_path& followed);

}  // namespace addfolder
