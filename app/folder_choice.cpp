#include "folder_choice.h"

#include "file_system.h"
#include "relative_form.h"
#include "system_error.h"

namespace addfolder {

std::optional<wide_path> typed_folder(const wide_path& typed) {
  if (typed.empty()) return std::nullopt;
  wide_path full;
  if (root_name(typed).empty() && root_directory(typed).empty()) {
    try {
      full = current_path();
    } catch (const system_error&) {
      return std::nullopt;
    }
    append_element(full, typed);
  } else {
    full = typed;
  }
  full = lexically_normal(full);
  file_kind kind = file_kind::not_found;
  if (query_status(full, kind) != 0 || kind != file_kind::directory) return std::nullopt;
  return full;
}

}  // namespace addfolder
