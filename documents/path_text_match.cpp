#include "path_text_match.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

namespace addfolder {
namespace {

constexpr char read_as_backslash(char c) { return c == '/' ? '\\' : c; }

}  // namespace

bool same_path_text(std::string_view left, std::string_view right) {
  if (left.size() != right.size()) return false;
  // Most texts hold no "/" at all, and then plain equality decides; only
  // from the first difference on do the separators need a closer look.
  if (std::memcmp(left.data(), right.data(), left.size()) == 0) return true;
  const size_t first_difference =
      static_cast<size_t>(std::mismatch(left.begin(), left.end(), right.begin()).first - left.begin());
  for (size_t i = first_difference; i < left.size(); ++i) {
    if (read_as_backslash(left[i]) != read_as_backslash(right[i])) return false;
  }
  return true;
}

size_t path_text_hash(std::string_view text) {
  if (text.find('/') == std::string_view::npos) return std::hash<std::string_view>()(text);
  std::string read(text);
  for (char& c : read) c = read_as_backslash(c);
  return std::hash<std::string>()(read);
}

}  // namespace addfolder
