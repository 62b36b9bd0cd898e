// How texts that name files are compared in both documents.
//
// Vendor tools and hand-edited projects write "/" where the IDE writes "\",
// and the IDE reads both alike; so two such texts are the same file when
// they are equal once every "/" is read as "\". Everything else stays exact:
// letter case, white space and the $PROJ_DIR$ prefix.
#pragma once

#include <cstddef>
#include <string_view>

namespace addfolder {

// True for the two separators of a path text, "\" and "/".
constexpr bool is_separator_byte(char c) { return c == '\\' || c == '/'; }

// True when left and right are equal after every "/" is read as "\".
bool same_path_text(std::string_view left, std::string_view right);

// A hash under which texts that same_path_text finds equal hash alike.
size_t path_text_hash(std::string_view text);

// Hash and equality for unordered containers keyed by such texts.
struct path_text_hasher {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return path_text_hash(text); }
};
struct path_text_equal {
  using is_transparent = void;
  bool operator()(std::string_view left, std::string_view right) const { return same_path_text(left, right); }
};

}  // namespace addfolder
