#include "path.h"

#include <algorithm>

namespace addfolder {
namespace {

constexpr wide_view dot = u".";
constexpr wide_view dot_dot = u"..";
constexpr wide_view root_directory_element = u"\\";

bool is_drive_letter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

size_t root_name_length(wide_view path) {
  if (path.size() >= 2 && path[1] == u':' && is_drive_letter(path[0])) return 2;
  if (path.size() >= 3 && is_separator(path[0]) && is_separator(path[1]) && !is_separator(path[2])) {
    size_t end = 2;
    while (end < path.size() && !is_separator(path[end])) ++end;
    return end;
  }
  return 0;
}

size_t rootless_start(wide_view path) {
  size_t start = root_name_length(path);
  while (start < path.size() && is_separator(path[start])) ++start;
  return start;
}

// The names of the rootless form, with a final empty name for a trailing separator.
std::vector<wide_view> names_of(wide_view path) {
  std::vector<wide_view> names;
  const wide_view rest = path.substr(rootless_start(path));
  size_t position = 0;
  while (position < rest.size()) {
    size_t end = position;
    while (end < rest.size() && !is_separator(rest[end])) ++end;
    names.push_back(rest.substr(position, end - position));
    while (end < rest.size() && is_separator(rest[end])) ++end;
    if (end == rest.size() && is_separator(rest.back())) names.push_back(wide_view());
    position = end;
  }
  return names;
}

// The length of the longest common prefix.
size_t exact_prefix_length(wide_view left, wide_view right) {
  const size_t common = std::min(left.size(), right.size());
  return static_cast<size_t>(std::mismatch(left.begin(), left.begin() + common, right.begin()).first - left.begin());
}

}  // namespace

wide_view root_name(wide_view path) { return path.substr(0, root_name_length(path)); }

wide_view root_directory(wide_view path) {
  const size_t name_end = root_name_length(path);
  return path.substr(name_end, rootless_start(path) - name_end);
}

bool is_absolute(wide_view path) { return !root_name(path).empty() && !root_directory(path).empty(); }

wide_view rootless_form(wide_view path) {
  return path.substr(std::min(root_name_length(path) + root_directory(path).size(), path.size()));
}

wide_view parent_path(wide_view path) {
  const size_t relative_start = rootless_start(path);
  size_t end = path.size();
  while (end > relative_start && !is_separator(path[end - 1])) --end;
  while (end > relative_start && is_separator(path[end - 1])) --end;
  return path.substr(0, end);
}

wide_view file_name(wide_view path) {
  const size_t relative_start = rootless_start(path);
  size_t start = path.size();
  while (start > relative_start && !is_separator(path[start - 1])) --start;
  return path.substr(start);
}

std::vector<wide_view> path_elements(wide_view path) {
  std::vector<wide_view> elements;
  if (const wide_view name = root_name(path); !name.empty()) elements.push_back(name);
  if (!root_directory(path).empty()) elements.push_back(root_directory_element);
  for (wide_view name : names_of(path)) elements.push_back(name);
  return elements;
}

std::strong_ordering compare_paths(wide_view left, wide_view right) {
  const size_t left_name_end = root_name_length(left);
  const size_t right_name_end = root_name_length(right);
  if (auto order = left.substr(0, left_name_end) <=> right.substr(0, right_name_end); order != 0) {
    return order;
  }
  const bool left_rooted = left_name_end < left.size() && is_separator(left[left_name_end]);
  const bool right_rooted = right_name_end < right.size() && is_separator(right[right_name_end]);
  if (left_rooted != right_rooted) return left_rooted <=> right_rooted;

  // The rest. Paths that share a long exact prefix are common, so that
  // prefix is skipped first, up to the start of a separator run in it, where
  // the position-by-position comparison would stand too.
  const wide_view a = left.substr(left_name_end);
  const wide_view b = right.substr(right_name_end);
  size_t i = exact_prefix_length(a, b);
  while (i > 0 && is_separator(a[i - 1])) --i;
  size_t j = i;
  if (i == 0) {
    // The root directory's separators.
    while (i < a.size() && is_separator(a[i])) ++i;
    while (j < b.size() && is_separator(b[j])) ++j;
  }
  while (true) {
    const bool a_end = i == a.size();
    const bool b_end = j == b.size();
    if (a_end || b_end) return !a_end <=> !b_end;
    const char16_t x = a[i];
    const char16_t y = b[j];
    if (x == y && !is_separator(x)) {
      ++i;
      ++j;
      continue;
    }
    const bool a_separator = is_separator(x);
    const bool b_separator = is_separator(y);
    if (a_separator != b_separator) return a_separator ? std::strong_ordering::less : std::strong_ordering::greater;
    if (a_separator) {
      while (i < a.size() && is_separator(a[i])) ++i;
      while (j < b.size() && is_separator(b[j])) ++j;
      continue;
    }
    return x <=> y;
  }
}

std::string path_order_key(wide_view path) {
  std::string key(2 * path.size() + 3, '\0');
  char* out = key.data();
  const auto put = [&out](char16_t unit) {
    *out++ = static_cast<char>(unit >> 8);
    *out++ = static_cast<char>(unit & 0xFF);
  };
  const size_t name_end = root_name_length(path);
  for (size_t i = 0; i < name_end; ++i) put(path[i]);
  // The root name ends below every code unit, so that a shorter one is less;
  // then whether a root directory follows.
  put(0);
  size_t i = name_end;
  *out++ = static_cast<char>(i < path.size() && is_separator(path[i]) ? 1 : 0);
  while (i < path.size() && is_separator(path[i])) ++i;
  while (i < path.size()) {
    if (!is_separator(path[i])) {
      put(path[i++]);
      continue;
    }
    put(0);
    while (i < path.size() && is_separator(path[i])) ++i;
  }
  key.resize(static_cast<size_t>(out - key.data()));
  return key;
}

wide_path lexically_normal(wide_view path) {
  if (path.empty()) return wide_path();
  const bool rooted = !root_directory(path).empty();
  std::vector<wide_view> names;
  bool trailing_separator = false;
  for (wide_view name : names_of(path)) {
    if (name == dot || name.empty()) {
      trailing_separator = !names.empty();
    } else if (name == dot_dot) {
      if (!names.empty() && names.back() != dot_dot) {
        names.pop_back();
        trailing_separator = !names.empty();
      } else if (!names.empty() || !rooted) {
        names.push_back(dot_dot);
        trailing_separator = false;
      }
    } else {
      names.push_back(name);
      trailing_separator = false;
    }
  }
  if (!names.empty() && names.back() == dot_dot) trailing_separator = false;

  wide_path normal = with_preferred_separators(root_name(path));
  if (rooted) normal += preferred_separator;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) normal += preferred_separator;
    normal.append(names[i]);
  }
  if (trailing_separator) normal += preferred_separator;
  if (normal.empty()) normal = dot;
  return normal;
}

wide_path lexically_relative(wide_view path, wide_view base) {
  if (root_name(path) != root_name(base)) return wide_path();
  if (is_absolute(path) != is_absolute(base)) return wide_path();
  if (root_directory(path).empty() && !root_directory(base).empty()) return wide_path();

  const std::vector<wide_view> a = path_elements(path);
  const std::vector<wide_view> b = path_elements(base);
  size_t common = 0;
  while (common < a.size() && common < b.size() && compare_paths(a[common], b[common]) == 0) ++common;
  if (common == a.size() && common == b.size()) return wide_path(dot);

  long ups = 0;
  for (size_t i = common; i < b.size(); ++i) {
    if (b[i] == dot_dot) {
      --ups;
    } else if (!b[i].empty() && b[i] != dot) {
      ++ups;
    }
  }
  if (ups < 0) return wide_path();
  if (ups == 0 && (common == a.size() || a[common].empty())) return wide_path(dot);

  wide_path relative;
  for (long i = 0; i < ups; ++i) append_element(relative, dot_dot);
  for (size_t i = common; i < a.size(); ++i) append_element(relative, a[i]);
  return relative;
}

void append_element(wide_path& path, wide_view element) {
  if (!path.empty() && !is_separator(path.back())) path += preferred_separator;
  path += element;
}

wide_path with_preferred_separators(wide_view path) {
  wide_path result(path);
  for (char16_t& c : result) {
    if (c == u'/') c = preferred_separator;
  }
  return result;
}

}  // namespace addfolder
