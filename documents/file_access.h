// Reading a document file whole, and replacing one so that it is never seen
// half-written.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include <pugixml.hpp>

#include "scan/path.h"

namespace addfolder {

// The bytes of a whole file in a block from pugixml's allocator, so that a
// document can take the block over instead of copying it.
struct file_bytes {
  char* data = nullptr;
  size_t size = 0;
};

// Frees a block that no document took over.
void release_file_bytes(file_bytes& bytes);

// Reads a whole file; false (and nothing allocated) when it cannot be opened or read.
bool read_whole_file(const wide_path& file, file_bytes& bytes);

// Writes the content that write_content produces into a new temporary file
// beside file, then puts it in place of file in one step. A link is written
// through to its final target. An existing target keeps its permissions; a
// read-only one is never replaced. False on any failure, with the old file
// untouched and the temporary file gone.
bool replace_file(const wide_path& file, const std::function<void(pugi::xml_writer&)>& write_content);

// Gives the file that a write to file reaches (links followed) a second,
// hidden name beside it, so that after a replacement the old file can be put
// back by a rename, which needs no room on the disk. False, with nothing
// made, where the file is missing or read-only (so never replaced), or the
// file system has no second names.
bool keep_old_file(const wide_path& file, wide_path& kept);

// Puts a kept file back in place of file in one step. False on failure; the
// kept name then remains.
bool put_back_old_file(const wide_path& kept, const wide_path& file);

// Removes a kept name; the file it names stays under its other names.
void forget_old_file(const wide_path& kept);

// For the platform files: reads into bytes until read_some gives 0 (the end)
// or a negative count (an error, which releases the bytes). size_hint is the
// size the file had when it was opened.
bool read_until_end(file_bytes& bytes, size_t size_hint, const std::function<long long(char*, size_t)>& read_some);

// For the platform files: a text for a new file name that no earlier call in
// this process gave, such as ".5f3a9c-1.tmp".
std::string unique_name_suffix(const char* extension);

}  // namespace addfolder
