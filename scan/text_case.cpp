// Letter case as NTFS has it for names.
#include <array>

#include "text_conversion.h"
#include "upcase_table.h"

namespace addfolder {
namespace {

using upcase_table = std::array<char16_t, 0x10000>;

// Every unit's upper case, made once from the runs.
upcase_table make_upcase_table() {
  upcase_table table;
  for (size_t unit = 0; unit < table.size(); ++unit) table[unit] = static_cast<char16_t>(unit);
  for (size_t run = 0; run < upcase_run_count; ++run) {
    const upcase_run& r = upcase_runs[run];
    for (unsigned unit = r.first; unit <= r.last; unit += r.stride) {
      table[unit] = static_cast<char16_t>(static_cast<int>(unit) + r.delta);
    }
  }
  return table;
}

}  // namespace

char16_t ntfs_upper_beyond_ascii(char16_t unit) {
  static const upcase_table table = make_upcase_table();
  return table[unit];
}

bool same_ntfs_name(wide_view left, wide_view right) {
  if (left.size() != right.size()) return false;
  for (size_t i = 0; i < left.size(); ++i) {
    if (left[i] != right[i] && ntfs_upper(left[i]) != ntfs_upper(right[i])) return false;
  }
  return true;
}

}  // namespace addfolder
