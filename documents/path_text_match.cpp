#include "path_text_match.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "text_conversion.h"

namespace addfolder {
namespace {

constexpr char read_as_backslash(char c) { return c == '/' ? '\\' : c; }

constexpr bool is_ascii(char c) { return (static_cast<unsigned char>(c) & 0x80) == 0; }

// A byte with "/" read as "\" and an ASCII letter upper-cased; other bytes as they are.
constexpr char16_t folded(char c) {
  return static_cast<char16_t>(ascii_upper(static_cast<unsigned char>(read_as_backslash(c))));
}

bool has_byte_beyond_ascii(std::string_view text) {
  for (const char c : text) {
    if (!is_ascii(c)) return true;
  }
  return false;
}

bool same_folded_bytes(std::string_view left, std::string_view right) {
  if (left.size() != right.size()) return false;
  for (size_t i = 0; i < left.size(); ++i) {
    if (folded(left[i]) != folded(right[i])) return false;
  }
  return true;
}

void read_separators_as_backslash(wide_path& text) {
  for (char16_t& unit : text) unit = unit == u'/' ? u'\\' : unit;
}

// Letters beyond ASCII take the host's own comparison, over UTF-16.
bool same_beyond_ascii(std::string_view left, std::string_view right) {
  wide_path wide_left;
  wide_path wide_right;
  if (!append_wide(wide_left, left) || !append_wide(wide_right, right)) return same_folded_bytes(left, right);
  read_separators_as_backslash(wide_left);
  read_separators_as_backslash(wide_right);
  return same_name_ignoring_case(wide_left, wide_right);
}

// FNV-1a over the text's UTF-16 units, each folded as NTFS upper-cases it:
// that folds every pair of letters that the host takes for one, and some
// more. For ASCII the bytes are the units.
constexpr uint64_t hash_start = 0xCBF29CE484222325ull;
constexpr uint64_t hash_factor = 0x100000001B3ull;

size_t hash_beyond_ascii(std::string_view text) {
  uint64_t hash = hash_start;
  wide_path wide;
  if (!append_wide(wide, text)) {
    for (const char c : text) hash = (hash ^ folded(c)) * hash_factor;
    return static_cast<size_t>(hash);
  }
  for (const char16_t unit : wide) hash = (hash ^ ntfs_upper(unit == u'/' ? u'\\' : unit)) * hash_factor;
  return static_cast<size_t>(hash);
}

}  // namespace

bool same_path_text_exactly(std::string_view left, std::string_view right) {
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

bool same_path_text_ignoring_case(std::string_view left, std::string_view right) {
  if (left.size() == right.size()) {
    // Up to the first byte beyond ASCII both texts stand at the same
    // character, and ASCII letters have their case from ASCII alone.
    size_t i = 0;
    for (; i < left.size(); ++i) {
      if (left[i] == right[i]) continue;
      if (!is_ascii(left[i]) || !is_ascii(right[i])) break;
      if (folded(left[i]) != folded(right[i])) return false;
    }
    if (i == left.size()) return true;
  } else if (!has_byte_beyond_ascii(left) && !has_byte_beyond_ascii(right)) {
    return false;
  }
  return same_beyond_ascii(left, right);
}

size_t path_text_hash_exactly(std::string_view text) {
  if (text.find('/') == std::string_view::npos) return std::hash<std::string_view>()(text);
  std::string read(text);
  for (char& c : read) c = read_as_backslash(c);
  return std::hash<std::string>()(read);
}

size_t path_text_hash_ignoring_case(std::string_view text) {
  uint64_t hash = hash_start;
  for (const char c : text) {
    if (!is_ascii(c)) return hash_beyond_ascii(text);
    hash = (hash ^ folded(c)) * hash_factor;
  }
  return static_cast<size_t>(hash);
}

std::vector<size_t> first_of_same_texts(const std::vector<std::string_view>& texts) {
  std::vector<std::pair<size_t, size_t>> by_hash;
  by_hash.reserve(texts.size());
  for (size_t i = 0; i < texts.size(); ++i) by_hash.emplace_back(path_text_hash(texts[i]), i);
  std::sort(by_hash.begin(), by_hash.end());
  std::vector<size_t> first(texts.size());
  for (size_t start = 0; start < by_hash.size();) {
    size_t end = start;
    while (end < by_hash.size() && by_hash[end].first == by_hash[start].first) ++end;
    // Within a hash, in the order of the texts.
    for (size_t at = start; at < end; ++at) {
      const size_t i = by_hash[at].second;
      first[i] = i;
      for (size_t earlier = start; earlier < at; ++earlier) {
        if (same_path_text(texts[by_hash[earlier].second], texts[i])) {
          first[i] = first[by_hash[earlier].second];
          break;
        }
      }
    }
    start = end;
  }
  return first;
}

bool are_different_texts(const std::vector<std::string_view>& texts) {
  const std::vector<size_t> first = first_of_same_texts(texts);
  for (size_t i = 0; i < first.size(); ++i) {
    if (first[i] != i) return false;
  }
  return true;
}

}  // namespace addfolder
