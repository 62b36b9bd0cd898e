// How a run puts back a file that it replaced, when a later step fails: the
// one place that keeps the old file, puts it back and forgets it.
#pragma once

#include <string>

#include "path.h"

namespace addfolder {

// What is kept of a file from before a run replaces it until the run ends.
// Forgotten on destruction: a run that completes keeps what it wrote.
struct file_undo {
  file_undo() = default;
  file_undo(const file_undo&) = delete;
  file_undo& operator=(const file_undo&) = delete;
  ~file_undo();

  // The file concerned; empty while nothing is kept.
  wide_path file;
  // A hidden second name of the old file, beside it: a rename puts it back,
  // which needs no room on a full disk.
  wide_path second_name;
  // Where the file system gives no second names: the old bytes, written back
  // in one step.
  std::string old_bytes;
  // There was no file: putting back removes what the run made.
  bool was_absent = false;
};

// Keeps the present state of file before a run replaces it: the old file, or
// that there was none. False when it cannot be kept (the file cannot be
// read); nothing is kept then, and the file must not be replaced.
bool keep_for_undo(file_undo& undo, const wide_path& file);

// Puts the kept file back in place of what the run wrote, and forgets it.
// False when that failed; a second name then stays on the disk, holding the
// old file.
bool undo_replacement(file_undo& undo);

// Forgets what was kept: the run keeps what it wrote.
void forget_undo(file_undo& undo);

}  // namespace addfolder
