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

#include "file_name_match.h"

namespace addfolder {

// True for the two separators of a path text, "\" and "/".
constexpr bool is_separator_byte(char c) { return c == '\\' || c == '/'; }

// True when left and right are equal after every "/" is read as "\", under
// the rule for letter case. Texts that are not UTF-8 compare byte for byte,
// ASCII letters aside.
bool same_path_text(std::string_view left, std::string_view right, name_rule rule = host_name_rule);

// A hash under which texts that same_path_text finds equal under the rule
// hash alike.
size_t path_text_hash(std::string_view text, name_rule rule = host_name_rule);

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
