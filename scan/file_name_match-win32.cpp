#include <windows.h>

#include <string>

#include "file_name_match.h"
#include "win32_path.h"

namespace addfolder {

const name_rule host_name_rule = name_rule::ignoring_case;

bool same_name_ignoring_case(wide_view left, wide_view right) {
  const std::wstring native_left = to_win32_text(left);
  const std::wstring native_right = to_win32_text(right);
  return CompareStringOrdinal(native_left.data(), static_cast<int>(native_left.size()), native_right.data(),
                              static_cast<int>(native_right.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace addfolder
