// Reading a document file whole, and replacing one so that it is never seen
// half-written.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include <pugixml.hpp>

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

// What tells one state of a file from another: its identity, size and last
// modification, links followed. A missing file has a state too.
struct file_stamp {
  // False for a missing file, whose other fields are zero.
  bool exists = false;
  // The volume: the device on POSIX, the volume serial number on Windows.
  unsigned long long volume = 0;
  // The file on its volume: the inode on POSIX, the file index on Windows.
  unsigned long long identity = 0;
  // The size in bytes.
  unsigned long long size = 0;
  // The last modification: nanoseconds on POSIX, 100-nanosecond ticks on Windows.
  long long modified = 0;

  // Equal stamps: the same file, seemingly untouched in between.
  friend bool operator==(const file_stamp&, const file_stamp&) = default;
};

// Reads a whole file; false (and nothing allocated) when it cannot be opened or
// read. A stamp, where asked for, is the state of the file as it was opened
// for this reading, so a change during or after the reading tells.
bool read_whole_file(const wide_path& file, file_bytes& bytes, file_stamp* stamp = nullptr);

// The state of a file now, links followed: 0, or the platform's error code. A
// missing file is no error; its stamp is absent.
int query_file_stamp(const wide_path& file, file_stamp& stamp);

// Writes the content that write_content produces into a new temporary file
// beside file, then puts it in place of file in one step. A link is written
// through to its final target. An existing target keeps its permissions; a
// read-only one is never replaced. False on any failure, with the old file
// untouched and the temporary file gone.
bool replace_file(const wide_path& file, const std::function<void(pugi::xml_writer&)>& write_content);

// Removes the file that a write to file reaches (links followed), as a
// replace_file made it; false when it could not.
bool remove_file(const wide_path& file);

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

// The extensions of the names made beside a file: a new content being
// written, a kept old file, and (on Windows) the old file during a replacement.
inline constexpr char temporary_extension[] = ".tmp";
inline constexpr char kept_extension[] = ".old";
inline constexpr char backup_extension[] = ".bak";

// For the platform files: a text for a new file name that no earlier call in
// this process gave, such as ".5f3a9c-1.tmp".
std::string unique_name_suffix(const char* extension);

// How a platform names the files it makes beside a file.
enum class beside_naming {
  // "." + file name + suffix, hidden by the dot; names compared exactly; no
  // backup extension.
  posix,
  // File name + suffix, the file name compared with letter case ignored, as
  // Windows compares names.
  win32,
};

// The naming of this host's platform files.
extern const beside_naming host_beside_naming;

// True where name is exactly one that replace_file or keep_old_file makes
// beside a file called file_name: the file name with a unique_name_suffix of
// one of the extensions above.
bool is_leftover_name(wide_view name, wide_view file_name, beside_naming naming);

}  // namespace addfolder
