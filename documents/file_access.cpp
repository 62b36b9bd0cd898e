#include "file_access.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "text_conversion.h"

namespace addfolder {
namespace {

// A unique suffix holds the low bits of the steady clock, at most 10
// hexadecimal digits, and a counter of at most 8.
constexpr unsigned long long clock_mask = 0xFFFFFFFFFFull;
constexpr size_t most_clock_digits = 10;
constexpr size_t most_counter_digits = 2 * sizeof(unsigned);

constexpr bool is_lower_hex_digit(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'); }

// Takes from the front of text a number as "%x" writes it: 1 to most lower-case
// digits, no leading zero.
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

bool equals_ascii(wide_view text, const char* ascii) {
  return std::equal(text.begin(), text.end(), ascii, ascii + std::strlen(ascii));
}

// Whether text is exactly what unique_name_suffix gives for one of the extensions.
bool is_unique_name_suffix(wide_view text, bool with_backup) {
  if (!take_character(text, u'.') || !take_hex_number(text, most_clock_digits) || !take_character(text, u'-') ||
      !take_hex_number(text, most_counter_digits)) {
    return false;
  }
  return equals_ascii(text, temporary_extension) || equals_ascii(text, kept_extension) ||
         (with_backup && equals_ascii(text, backup_extension));
}

}  // namespace

void release_file_bytes(file_bytes& bytes) {
  if (bytes.data != nullptr) pugi::get_memory_deallocation_function()(bytes.data);
  bytes = file_bytes{};
}

bool read_until_end(file_bytes& bytes, size_t size_hint, const std::function<long long(char*, size_t)>& read_some) {
  release_file_bytes(bytes);
  // One byte more than the file holds, so that the end is seen without a second block.
  size_t capacity = size_hint + 1;
  bytes.data = static_cast<char*>(pugi::get_memory_allocation_function()(capacity));
  if (bytes.data == nullptr) return false;
  while (true) {
    if (bytes.size == capacity) {
      // The file grew while it was read.
      const size_t larger = capacity * 2;
      char* grown = static_cast<char*>(pugi::get_memory_allocation_function()(larger));
      if (grown == nullptr) {
        release_file_bytes(bytes);
        return false;
      }
      std::memcpy(grown, bytes.data, bytes.size);
      pugi::get_memory_deallocation_function()(bytes.data);
      bytes.data = grown;
      capacity = larger;
    }
    const long long count = read_some(bytes.data + bytes.size, capacity - bytes.size);
    if (count < 0) {
      release_file_bytes(bytes);
      return false;
    }
    if (count == 0) return true;
    bytes.size += static_cast<size_t>(count);
  }
}

std::string unique_name_suffix(const char* extension) {
  static unsigned counter = 0;
  const auto stamp = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  char text[64];
  std::snprintf(text, sizeof text, ".%llx-%x%s", stamp & clock_mask, counter++, extension);
  return text;
}

bool is_leftover_name(wide_view name, wide_view file_name, beside_naming naming) {
  if (file_name.empty()) return false;
  if (naming == beside_naming::posix && !take_character(name, u'.')) return false;
  if (name.size() <= file_name.size()) return false;
  const wide_view named = name.substr(0, file_name.size());
  const bool same_name =
      naming == beside_naming::posix ? named == file_name : same_ntfs_name(named, file_name);
  return same_name && is_unique_name_suffix(name.substr(file_name.size()), naming == beside_naming::win32);
}

}  // namespace addfolder
