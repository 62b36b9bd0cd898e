#include "file_undo.h"

#include "file_bytes.h"
#include "file_replacement.h"

namespace addfolder {

file_undo::~file_undo() { roll_back(); }

document_error file_undo::keep(const wide_path& file) {
  commit();
  if (!keep_old_file(file, second_name_)) {
    file_ = file;
    return {};
  }
  second_name_.clear();
  file_stamp stamp;
  if (document_error error = query_file_stamp(file, stamp)) return error;
  if (!stamp.exists) {
    file_ = file;
    was_absent_ = true;
    return {};
  }
  file_bytes bytes;
  if (document_error error = read_whole_file(file, bytes)) return error;
  try {
    old_bytes_.assign(bytes.data, bytes.size);
  } catch (...) {
    release_file_bytes(bytes);
    throw;
  }
  release_file_bytes(bytes);
  file_ = file;
  return {};
}

document_error file_undo::roll_back() {
  if (file_.empty()) return {};
  document_error error;
  if (was_absent_) {
    error = remove_file(file_);
  } else if (!second_name_.empty()) {
    error = put_back_old_file(second_name_, file_);
    // Where that failed, the second name stays on the disk, holding the old file.
    second_name_.clear();
  } else {
    error = replace_file(file_, [&](pugi::xml_writer& writer) { writer.write(old_bytes_.data(), old_bytes_.size()); });
  }
  commit();
  return error;
}

void file_undo::commit() {
  if (!second_name_.empty()) forget_old_file(second_name_);
  second_name_.clear();
  old_bytes_.clear();
  old_bytes_.shrink_to_fit();
  was_absent_ = false;
  file_.clear();
}

document_error replace_if_unchanged(const wide_path& file, const file_stamp& expected,
                                    const std::function<void(pugi::xml_writer&)>& write_content, file_undo* undo) {
  file_stamp now;
  if (document_error error = query_file_stamp(file, now)) return error;
  if (now != expected) return make_document_error(document_failure::changed, file);
  if (undo != nullptr) {
    if (document_error error = undo->keep(file)) return error;
  }
  document_error error = replace_file(file, write_content);
  // Nothing was replaced, so there is nothing to put back.
  if (error && undo != nullptr) undo->commit();
  return error;
}

}  // namespace addfolder
