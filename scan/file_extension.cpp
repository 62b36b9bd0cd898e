#include "file_extension.h"

namespace addfolder {

wide_view path_extension(wide_view path) { return name_extension(file_name(path)); }

wide_view name_extension(wide_view name) {
  const size_t dot = name.rfind(u'.');
  if (dot == wide_view::npos || dot == 0) return wide_view();
  return name.substr(dot);
}

bool is_source_extension(wide_view extension) {
  return extension == u".c" || extension == u".cc" || extension == u".cpp" || extension == u".s" ||
         extension == u".a";
}

bool is_header_extension(wide_view extension) { return extension == u".h" || extension == u".hpp"; }

}  // namespace addfolder
