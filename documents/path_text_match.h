// How texts that name files are compared in both documents.
//
// Vendor tools and hand-edited projects write "/" where the IDE writes "\",
// and the IDE reads both alike; so two such texts are the same file when
// they are equal once every "/" is read as "\". Letter case counts as the
// host's file system counts it: on POSIX hosts HAL and hal are two folders,
// on Windows they are one, so a folder renamed in letter case is not listed
// twice there. White space stays exact.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "file_name_match.h"

namespace addfolder {

// True for the two separators of a path text, "\" and "/".
constexpr bool is_separator_byte(char c) { return c == '\\' || c == '/'; }

// True when left and right are equal after every "/" is read as "\", letter
// case included.
bool same_path_text_exactly(std::string_view left, std::string_view right);

// True when left and right are equal after every "/" is read as "\", without
// regard to letter case (same_name_ignoring_case). Texts that are not UTF-8
// compare byte for byte, ASCII letters aside.
bool same_path_text_ignoring_case(std::string_view left, std::string_view right);

// A hash under which texts that same_path_text_exactly finds equal hash alike.
size_t path_text_hash_exactly(std::string_view text);

// A hash under which texts that same_path_text_ignoring_case finds equal hash alike.
size_t path_text_hash_ignoring_case(std::string_view text);

// For each of texts, the place of the first one that same_path_text finds
// the same: its own where no earlier one is.
std::vector<size_t> first_of_same_texts(const std::vector<std::string_view>& texts);

// Whether no two of texts are the same text for same_path_text.
bool are_different_texts(const std::vector<std::string_view>& texts);

// True when left and right are the same text under the rule. Inline, so that
// the rule costs the comparisons of a large document one branch each.
inline bool same_path_text(std::string_view left, std::string_view right, name_rule rule = host_name_rule) {
  return rule == name_rule::exact ? same_path_text_exactly(left, right) : same_path_text_ignoring_case(left, right);
}

// A hash under which texts that same_path_text finds equal under the rule hash alike.
inline size_t path_text_hash(std::string_view text, name_rule rule = host_name_rule) {
  return rule == name_rule::exact ? path_text_hash_exactly(text) : path_text_hash_ignoring_case(text);
}

// Hash and equality for unordered containers keyed by such texts, under the
// host's rule.
struct path_text_hasher {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return path_text_hash(text); }
};
struct path_text_equal {
  using is_transparent = void;
  bool operator()(std::string_view left, std::string_view right) const { return same_path_text(left, right); }
};

}  // namespace addfolder
