#include "name_glob.h"

#include <algorithm>

#include "text_conversion.h"

namespace addfolder {
namespace {

// The ASCII letter's other case; zero for every other character.
constexpr char32_t other_case(char32_t c) {
  if (ascii_lower(c) != c) return ascii_lower(c);
  if (ascii_upper(c) != c) return ascii_upper(c);
  return 0;
}

// Reads the class that starts with the "[" at open; returns false, leaving the
// glob unchanged, when it has no closing "]".
bool read_class(wide_view pattern, std::size_t open, name_glob& glob, std::size_t& end) {
  std::size_t index = open + 1;
  bool negated = false;
  if (index < pattern.size() && (pattern[index] == u'!' || pattern[index] == u'^')) {
    negated = true;
    ++index;
  }
  // A "]" in first place is a member, so the class closes at the next one.
  const std::size_t close = pattern.find(u']', index < pattern.size() ? index + 1 : index);
  if (close == wide_view::npos) return false;
  glob_token token;
  token.type = glob_token::kind::character_class;
  token.negated = negated;
  token.first_range = glob.ranges.size();
  while (index < close) {
    std::size_t length = 0;
    const char32_t first = character_at(pattern, index, length);
    index += length;
    char32_t last = first;
    // "a-z" is a range; a "-" first or last in the class is a member.
    if (index + 1 < close && pattern[index] == u'-') {
      last = character_at(pattern, index + 1, length);
      index += 1 + length;
    }
    glob.ranges.push_back(character_range{first, last});
  }
  token.range_count = glob.ranges.size() - token.first_range;
  glob.tokens.push_back(token);
  end = close + 1;
  return true;
}

void tokenize(wide_view pattern, name_glob& glob) {
  for (std::size_t index = 0; index < pattern.size();) {
    const char16_t unit = pattern[index];
    if (unit == u'*') {
      if (glob.tokens.empty() || glob.tokens.back().type != glob_token::kind::any_run) {
        glob.tokens.push_back(glob_token{glob_token::kind::any_run});
      }
      ++index;
    } else if (unit == u'?') {
      glob.tokens.push_back(glob_token{glob_token::kind::any_character});
      ++index;
    } else if (unit != u'[' || !read_class(pattern, index, glob, index)) {
      std::size_t length = 0;
      const char32_t c = ascii_lower(character_at(pattern, index, length));
      glob.tokens.push_back(glob_token{glob_token::kind::character, c});
      index += length;
    }
  }
}

bool is_character(const glob_token& token) { return token.type == glob_token::kind::character; }

// The characters of tokens [first, last) as text; all of them are plain characters.
wide_path literal_text(const name_glob& glob, std::size_t first, std::size_t last) {
  wide_path text;
  for (std::size_t index = first; index < last; ++index) append_character(text, glob.tokens[index].character);
  return text;
}

// Picks the cheapest shape that the tokens allow.
void choose_shape(name_glob& glob) {
  const std::vector<glob_token>& tokens = glob.tokens;
  const auto is_run = [](const glob_token& token) { return token.type == glob_token::kind::any_run; };
  const std::size_t runs = static_cast<std::size_t>(std::count_if(tokens.begin(), tokens.end(), is_run));
  const bool others_are_characters =
      std::all_of(tokens.begin(), tokens.end(), [&](const glob_token& token) { return is_run(token) || is_character(token); });
  if (!others_are_characters || runs > 1) {
    glob.shape = name_glob_shape::glob;
    return;
  }
  if (runs == 0) {
    glob.shape = name_glob_shape::literal;
    glob.text = literal_text(glob, 0, tokens.size());
  } else if (tokens.size() == 1) {
    glob.shape = name_glob_shape::any_name;
  } else if (is_run(tokens.back())) {
    glob.shape = name_glob_shape::prefix;
    glob.text = literal_text(glob, 0, tokens.size() - 1);
  } else if (is_run(tokens.front())) {
    glob.shape = name_glob_shape::suffix;
    glob.text = literal_text(glob, 1, tokens.size());
  } else {
    glob.shape = name_glob_shape::glob;
    return;
  }
  glob.tokens.clear();
  glob.ranges.clear();
}

// True when name's units equal text's (already folded) units, ASCII letters folded.
bool equals_folded(wide_view name, wide_view text) {
  for (std::size_t index = 0; index < text.size(); ++index) {
    if (ascii_lower(name[index]) != text[index]) return false;
  }
  return true;
}

bool in_ranges(const name_glob& glob, const glob_token& token, char32_t c) {
  const character_range* range = glob.ranges.data() + token.first_range;
  for (std::size_t index = 0; index < token.range_count; ++index, ++range) {
    if (c >= range->first && c <= range->last) return true;
  }
  return false;
}

bool matches_token(const name_glob& glob, const glob_token& token, char32_t c) {
  switch (token.type) {
    case glob_token::kind::character:
      return ascii_lower(c) == token.character;
    case glob_token::kind::any_character:
      return true;
    case glob_token::kind::character_class: {
      const char32_t other = other_case(c);
      const bool member = in_ranges(glob, token, c) || (other != 0 && in_ranges(glob, token, other));
      return member != token.negated;
    }
    case glob_token::kind::any_run:
      break;
  }
  return false;
}

// The general match: every token but "*" takes one character, so on a
// mismatch only the last "*" needs to take one more; no recursion, at most
// name length times token count steps.
bool matches_tokens(const name_glob& glob, wide_view name) {
  const std::vector<glob_token>& tokens = glob.tokens;
  std::size_t at = 0;
  std::size_t token = 0;
  std::size_t run_token = tokens.size();
  std::size_t run_end = 0;
  while (at < name.size()) {
    if (token < tokens.size()) {
      if (tokens[token].type == glob_token::kind::any_run) {
        run_token = token++;
        run_end = at;
        continue;
      }
      std::size_t length = 0;
      if (matches_token(glob, tokens[token], character_at(name, at, length))) {
        at += length;
        ++token;
        continue;
      }
    }
    if (run_token == tokens.size()) return false;
    std::size_t length = 0;
    character_at(name, run_end, length);
    run_end += length;
    at = run_end;
    token = run_token + 1;
  }
  // Runs of "*" are one token, so at most one is left over.
  return token == tokens.size() || (token + 1 == tokens.size() && tokens[token].type == glob_token::kind::any_run);
}

}  // namespace

name_glob compile_name_glob(wide_view pattern) {
  name_glob glob;
  tokenize(pattern, glob);
  choose_shape(glob);
  return glob;
}

bool matches_name_glob(const name_glob& glob, wide_view name) {
  const wide_view text = glob.text;
  switch (glob.shape) {
    case name_glob_shape::any_name:
      return true;
    case name_glob_shape::literal:
      return name.size() == text.size() && equals_folded(name, text);
    case name_glob_shape::prefix:
      return name.size() >= text.size() && equals_folded(name.substr(0, text.size()), text);
    case name_glob_shape::suffix:
      return name.size() >= text.size() && equals_folded(name.substr(name.size() - text.size()), text);
    case name_glob_shape::glob:
      return matches_tokens(glob, name);
  }
  return false;
}

}  // namespace addfolder
