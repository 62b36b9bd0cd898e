// One name of an exclusion pattern, matched against one entry's name.
//
// "*" matches any run of characters, "?" one character (a surrogate pair is
// one), "[abc]", "[a-z]" and "[!a]" (or "[^a]") one character of a class; a
// "]" right after the "[" or its "!" is a member, and a "[" without its "]" is
// an ordinary character. ASCII letters match either case, every other
// character only itself. There is no escaping.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "path.h"

namespace addfolder {

// What a compiled name needs, cheapest first: the shapes other than glob compare texts.
enum class name_glob_shape {
  // "*": every name.
  any_name,
  // No wildcard: the whole name equals text.
  literal,
  // "text*": the name starts with text.
  prefix,
  // "*text": the name ends with text.
  suffix,
  // Anything else: tokens.
  glob,
};

// One step of a general glob, in 16 bytes: a pattern compiles to a small
// multiple of its own size.
struct glob_token {
  enum class kind : std::uint8_t { character, any_character, any_run, character_class };
  kind type = kind::character;
  // For kind::character_class: whether the class is negated.
  bool negated = false;
  // The character (ASCII letters lower-cased) for kind::character.
  char32_t character = 0;
  // For kind::character_class: its ranges in name_glob::ranges. A pattern
  // is far shorter than 2^32 characters.
  std::uint32_t first_range = 0;
  std::uint32_t range_count = 0;
};

// An inclusive range of characters in a class, as written.
struct character_range {
  char32_t first = 0;
  char32_t last = 0;
};

// A compiled name.
struct name_glob {
  name_glob_shape shape = name_glob_shape::any_name;
  // The literal part, ASCII letters lower-cased, for the literal, prefix and suffix shapes.
  wide_path text;
  // The steps of a general glob; runs of "*" are one any_run.
  std::vector<glob_token> tokens;
  // The ranges of every class in tokens.
  std::vector<character_range> ranges;
};

// Compiles one name of a pattern (no separators in it).
name_glob compile_name_glob(wide_view pattern);

// True when the name matches the compiled name.
bool matches_name_glob(const name_glob& glob, wide_view name);

}  // namespace addfolder
