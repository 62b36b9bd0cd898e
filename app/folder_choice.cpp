#include "folder_choice.h"

#include "file_system.h"
#include "relative_form.h"
#include "system_error.h"

namespace addfolder {

wide_path absolute_form(const wide_path& path) {
  if (!root_name(path).empty() || !root_directory(path).empty()) return lexically_normal(path);
  wide_path full = current_path();
  append_element(full, path);
  return lexically_normal(full);
}

std::optional<wide_path> typed_folder(const wide_path& typed) {
  if (typed.empty()) return std::nullopt;
  wide_path full;
  try {
    full = absolute_form(typed);
  } catch (const system_error&) {
    return std::nullopt;
  }
  file_kind kind = file_kind::not_found;
  if (query_status(full, kind) != 0 || kind != file_kind::directory) return std::nullopt;
  return full;
}

}  // namespace addfolder
