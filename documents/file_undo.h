// Replacing a file only while it is the one a run read, and putting it back
// when a later step of the run fails.
#pragma once

#include <functional>
#include <string>

#include <pugixml.hpp>

#include "document_error.h"
#include "file_stamp.h"
#include "path.h"

namespace addfolder {

// What is kept of a file from before a run replaces it. Unless committed, it
// is put back when the undo ends: a run that fails after the replacement
// leaves the file as it was.
class file_undo {
 public:
  file_undo() = default;
  file_undo(const file_undo&) = delete;
  file_undo& operator=(const file_undo&) = delete;
  // Puts the kept file back unless committed.
  ~file_undo();

  // Keeps the present state of file before it is replaced: the old file, or
  // that there was none. An error when it cannot be kept (the file cannot be
  // read); the file must then not be replaced.
  document_error keep(const wide_path& file);
  // Puts the kept file back in place of what the run wrote. An error when
  // that failed; a second name then stays on the disk, holding the old file.
  document_error roll_back();
  // Forgets what was kept: the run keeps what it wrote.
  void commit();

 private:
  // The file concerned; empty while nothing is kept.
  wide_path file_;
  // A hidden second name of the old file, beside it: a rename puts it back,
  // which needs no room on a full disk.
  wide_path second_name_;
  // Where the file system gives no second names: the old bytes, written back
  // in one step.
  std::string old_bytes_;
  // There was no file: putting back removes what the run made.
  bool was_absent_ = false;
};

// Replaces file with what write_content writes (replace_file), but only
// while it is in the state expected, which a reading of it gave: where
// another program changed it since, document_failure::changed and nothing
// written. Where undo is given, it first keeps what it needs to put the old
// file back.
document_error replace_if_unchanged(const wide_path& file, const file_stamp& expected,
                                    const std::function<void(pugi::xml_writer&)>& write_content,
                                    file_undo* undo = nullptr);

}  // namespace addfolder
