// Reading a document file whole.
#pragma once

#include <cstddef>
#include <limits>

#include "document_error.h"
#include "file_stamp.h"
#include "path.h"

namespace addfolder {

// The bytes of a whole file in a block from pugixml's allocator, so that a
// document can take the block over instead of copying it.
struct file_bytes {
  char* data = nullptr;
  size_t size = 0;
};

// Frees a block that no document took over.
void release_file_bytes(file_bytes& bytes);

// Reads a whole regular file; on an error nothing is allocated. A stamp,
// where asked for, is the state of the file as it was opened for this
// reading, so a change during or after the reading tells. A file of more
// than most_bytes is refused with document_failure::too_large.
document_error read_whole_file(const wide_path& file, file_bytes& bytes, file_stamp* stamp = nullptr,
                               size_t most_bytes = std::numeric_limits<size_t>::max());

}  // namespace addfolder
