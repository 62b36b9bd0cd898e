#include "beside_names.h"

#include <chrono>
#include <cstdio>

namespace addfolder {
namespace {

// A unique suffix holds the low bits of the steady clock, at most 10
// hexadecimal digits, and a counter of at most 8.
constexpr unsigned long long clock_mask = 0xFFFFFFFFFFull;
constexpr size_t most_clock_digits = 10;
constexpr size_t most_counter_digits = 2 * sizeof(unsigned);

constexpr wide_view extension_of(beside_kind kind) {
  switch (kind) {
    case beside_kind::temporary:
      return u".tmp";
    case beside_kind::kept:
      return u".old";
    case beside_kind::backup:
      break;
  }
  return u".bak";
}

constexpr bool is_lower_hex_digit(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'); }

// Takes from the front of text a number as "%x" writes it: 1 to most
// lower-case digits, no leading zero.
bool take_hex_number(wide_view& text, size_t most) {
  size_t length = 0;
  while (length < text.size() && is_lower_hex_digit(text[length])) ++length;
  if (length == 0 || length > most || (length > 1 && text.front() == u'0')) return false;
  text.remove_prefix(length);
  return true;
}

bool take_character(wide_view& text, char16_t c) {
  if (text.empty() || text.front() != c) return false;
  text.remove_prefix(1);
  return true;
}

// Whether text is exactly a suffix that beside_name makes under the naming.
bool is_unique_suffix(wide_view text, const beside_naming& naming) {
  if (!take_character(text, u'.') || !take_hex_number(text, most_clock_digits) || !take_character(text, u'-') ||
      !take_hex_number(text, most_counter_digits)) {
    return false;
  }
  return text == extension_of(beside_kind::temporary) || text == extension_of(beside_kind::kept) ||
         (naming.makes_backups && text == extension_of(beside_kind::backup));
}

// "." + the name of path, in its folder.
wide_path dot_named(wide_view path) {
  wide_path name(parent_path(path));
  append_element(name, u"." + wide_path(file_name(path)));
  return name;
}

}  // namespace

wide_path beside_name(wide_view target, beside_kind kind) {
  static unsigned counter = 0;
  const auto stamp = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  char suffix[64];
  const int length = std::snprintf(suffix, sizeof suffix, ".%llx-%x", stamp & clock_mask, counter++);
  wide_path name = dot_named(target);
  name.append(suffix, suffix + length);
  name += extension_of(kind);
  return name;
}

wide_path lock_name(wide_view project_file) { return dot_named(project_file) + u".lock"; }

bool is_leftover_name(wide_view name, wide_view file_name, const beside_naming& naming) {
  if (file_name.empty() || !take_character(name, u'.') || name.size() <= file_name.size()) return false;
  return same_file_name(name.substr(0, file_name.size()), file_name, naming.names) &&
         is_unique_suffix(name.substr(file_name.size()), naming);
}

}  // namespace addfolder
