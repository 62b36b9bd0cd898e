#include "posix_path.h"

#include <algorithm>

#include "text_conversion.h"

namespace addfolder {

bool to_posix_path(wide_view path, std::string& native) {
  native.clear();
  if (!append_narrow(native, path)) return false;
  std::replace(native.begin(), native.end(), '\\', '/');
  return true;
}

bool from_posix_path(std::string_view native, wide_path& path) {
  path.clear();
  if (!append_wide(path, native)) return false;
  std::replace(path.begin(), path.end(), u'/', u'\\');
  return true;
}

}  // namespace addfolder
