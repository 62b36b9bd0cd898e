#include <windows.h>

#include "file_system.h"
#include "link_following.h"
#include "win32_path.h"

namespace addfolder {

// Windows resolves every kind of link when a file is opened, so an existing
// name is followed by asking for its final path, even where nothing marks
// it as a link (Wine shows its host's links to files as plain files). A link
// that leads nowhere is an error: a file must not be put in its place.
document_error follow_links(const wide_path& file, wide_path& followed) {
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW(to_win32_path(file).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) {
    const int error = static_cast<int>(GetLastError());
    if (!is_not_found_error(error)) return make_document_error(document_failure::system_call, file, error);
    followed = file;
    return {};
  }
  FindClose(find);
  if (const int error = query_final_path(file, followed); error != 0) {
    return make_document_error(document_failure::system_call, file, error);
  }
  return {};
}

}  // namespace addfolder
