// What tells one state of a file from another, so that a run replaces a
// file only while it is the one the run read.
#pragma once

#include "document_error.h"
#include "path.h"

namespace addfolder {

// A file's identity, size and last modification, links followed. A missing
// file has a state too.
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

// The state of a file now, links followed. A missing file is no error; its
// stamp is absent.
document_error query_file_stamp(const wide_path& file, file_stamp& stamp);

// True when both stamps are of one existing file: the same volume and identity.
bool is_same_file(const file_stamp& left, const file_stamp& right);

}  // namespace addfolder
