// For the platform files of the documents layer: what their readers share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "document_error.h"
#include "file_bytes.h"

namespace addfolder {

// Reads into bytes until read_some gives 0 (the end) or a negative count (an
// error, whose platform code it has stored in error_code; the bytes are then
// released). size_hint is the size the file had when it was opened.
document_error read_until_end(const wide_path& file, file_bytes& bytes, size_t size_hint, size_t most_bytes,
                              const std::function<long long(char*, size_t, int& error_code)>& read_some);

// The stamp of an open file: a descriptor on POSIX, a HANDLE on Windows.
// Returns 0, or the platform's error code.
int stamp_of_open_file(std::intptr_t native, file_stamp& stamp);

}  // namespace addfolder
