#include "file_undo.h"

#include "file_access.h"

namespace addfolder {

file_undo::~file_undo() { forget_undo(*this); }

bool keep_for_undo(file_undo& undo, const wide_path& file) {
  forget_undo(undo);
  if (keep_old_file(file, undo.second_name)) {
    undo.file = file;
    return true;
  }
  undo.second_name.clear();
  file_stamp stamp;
  if (query_file_stamp(file, stamp) == 0 && !stamp.exists) {
    undo.file = file;
    undo.was_absent = true;
    return true;
  }
  file_bytes bytes;
  if (!read_whole_file(file, bytes)) return false;
  try {
    undo.old_bytes.assign(bytes.data, bytes.size);
  } catch (...) {
    release_file_bytes(bytes);
    throw;
  }
  release_file_bytes(bytes);
  undo.file = file;
  return true;
}

bool undo_replacement(file_undo& undo) {
  if (undo.file.empty()) return true;
  bool put_back = false;
  if (undo.was_absent) {
    put_back = remove_file(undo.file);
  } else if (!undo.second_name.empty()) {
    put_back = put_back_old_file(undo.second_name, undo.file);
    if (put_back) undo.second_name.clear();
  } else {
    put_back = replace_file(undo.file, [&](pugi::xml_writer& writer) {
      writer.write(undo.old_bytes.data(), undo.old_bytes.size());
    });
  }
  if (!put_back) {
    // The second name is left on the disk, holding the old file.
    undo.second_name.clear();
    forget_undo(undo);
    return false;
  }
  forget_undo(undo);
  return true;
}

void forget_undo(file_undo& undo) {
  if (!undo.second_name.empty()) forget_old_file(undo.second_name);
  undo.second_name.clear();
  undo.old_bytes.clear();
  undo.old_bytes.shrink_to_fit();
  undo.was_absent = false;
  undo.file.clear();
}

}  // namespace addfolder
