#include "file_target.h"

#include "file_system.h"
#include "link_following.h"

namespace addfolder {

document_error final_target(const wide_path& file, wide_path& target) {
  if (file_name(file).empty()) return make_document_error(document_failure::not_a_file, file);
  wide_path followed;
  if (document_error error = follow_links(file, followed)) return error;
  int code = query_final_path(followed, target);
  if (code == 0) return {};
  if (!is_not_found_error(code)) return make_document_error(document_failure::system_call, file, code);
  // Not made yet: its name in its folder's final path.
  const wide_view folder = parent_path(followed);
  code = query_final_path(folder.empty() ? wide_path(u".") : wide_path(folder), target);
  if (code != 0) return make_document_error(document_failure::system_call, file, code);
  append_element(target, file_name(followed));
  return {};
}

}  // namespace addfolder
