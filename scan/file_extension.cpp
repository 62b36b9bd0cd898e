#include "file_extension.h"

namespace addfolder {

wide_view path_extension(wide_view path) { return name_extension(file_name(path)); }

wide_view name_extension(wide_view name) {
  const size_t dot = name.rfind(u'.');
  if (dot == wide_view::npos || dot == 0) return wide_view();
  return name.substr(dot);
}

// By length first: the walk asks this of every entry, and most are neither.
bool is_source_extension(wide_view extension) {
  if (extension.empty() || extension[0] != u'.') return false;
  switch (extension.size()) {
    case 2:
      return extension[1] == u'c' || extension[1] == u's' || extension[1] == u'a';
    case 3:
      return extension[1] == u'c' && extension[2] == u'c';
    case 4:
      return extension[1] == u'c' && extension[2] == u'p' && extension[3] == u'p';
    default:
      return false;
  }
}

bool is_header_extension(wide_view extension) {
  if (extension.empty() || extension[0] != u'.') return false;
  switch (extension.size()) {
    case 2:
      return extension[1] == u'h';
    case 4:
      return extension[1] == u'h' && extension[2] == u'p' && extension[3] == u'p';
    default:
      return false;
  }
}

}  // namespace addfolder
