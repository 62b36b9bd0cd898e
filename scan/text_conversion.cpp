#include "text_conversion.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "system_error.h"

namespace addfolder {
namespace {

bool is_high_surrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool is_low_surrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool is_continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

void put_utf8(std::string& text, char32_t c) {
  if (c < 0x80) {
    text += static_cast<char>(c);
  } else if (c < 0x800) {
    text += static_cast<char>(0xC0 | (c >> 6));
    text += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    text += static_cast<char>(0xE0 | (c >> 12));
    text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | (c >> 18));
    text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Marks a byte sequence that is no UTF-8 character.
constexpr char32_t invalid_character = 0xFFFFFFFF;

// The UTF-8 character that starts at index (a byte of 0x80 or above), and
// moves index past it; invalid_character for an invalid sequence.
char32_t utf8_character_at(std::string_view text, size_t& index) {
  const auto lead = static_cast<unsigned char>(text[index]);
  size_t length = 0;
  char32_t c = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, c = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, c = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, c = lead & 0x07, minimum = 0x10000;
  } else {
    return invalid_character;
  }
  if (index + length > text.size()) return invalid_character;
  for (size_t k = 1; k < length; ++k) {
    const auto byte = static_cast<unsigned char>(text[index + k]);
    if (!is_continuation(byte)) return invalid_character;
    c = (c << 6) | (byte & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || is_high_surrogate(c) || is_low_surrogate(c)) return invalid_character;
  index += length;
  return c;
}

}  // namespace

// Copies units to out, each as one unit of the other width, and tells
// whether all were ASCII: the common case in one plain pass, whose result
// the caller keeps only then.
template <typename From, typename To>
bool copy_if_ascii(const From* units, size_t size, To* out) {
  unsigned bits = 0;
  for (size_t i = 0; i < size; ++i) {
    const auto unit = static_cast<std::make_unsigned_t<From>>(units[i]);
    bits |= unit;
    out[i] = static_cast<To>(unit);
  }
  return bits < 0x80;
}

bool append_narrow(std::string& text, wide_view path) {
  const size_t start = text.size();
  text.resize(start + path.size());
  if (copy_if_ascii(path.data(), path.size(), text.data() + start)) return true;
  text.resize(start);
  // Otherwise the ASCII start is copied, and the rest has its length measured.
  size_t ascii = 0;
  while (path[ascii] < 0x80) ++ascii;
  text.append(ascii, '\0');
  for (size_t i = 0; i < ascii; ++i) text[start + i] = static_cast<char>(path[i]);
  const wide_view rest = path.substr(ascii);
  size_t length = 0;
  for (size_t i = 0; i < rest.size(); ++i) {
    const char32_t c = rest[i];
    if (c < 0x80) {
      ++length;
    } else if (c < 0x800) {
      length += 2;
    } else if (is_high_surrogate(c) && i + 1 < rest.size() && is_low_surrogate(rest[i + 1])) {
      length += 4, ++i;
    } else if (is_high_surrogate(c) || is_low_surrogate(c)) {
      text.resize(start);
      return false;
    } else {
      length += 3;
    }
  }
  text.reserve(start + ascii + length);
  for (size_t i = 0; i < rest.size(); ++i) {
    char32_t c = rest[i];
    if (is_high_surrogate(c)) {
      c = 0x10000 + ((c - 0xD800) << 10) + (rest[i + 1] - 0xDC00);
      ++i;
    }
    put_utf8(text, c);
  }
  return true;
}

bool append_wide(wide_path& path, std::string_view text) {
  const size_t original_size = path.size();
  path.resize(original_size + text.size());
  if (copy_if_ascii(text.data(), text.size(), path.data() + original_size)) return true;
  size_t ascii = 0;
  while (static_cast<unsigned char>(text[ascii]) < 0x80) ++ascii;
  path.resize(original_size + ascii);
  for (size_t i = 0; i < ascii; ++i) path[original_size + i] = static_cast<char16_t>(text[i]);
  for (size_t i = ascii; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const char32_t c = byte < 0x80 ? (++i, char32_t{byte}) : utf8_character_at(text, i);
    if (c == invalid_character) {
      path.resize(original_size);
      return false;
    }
    append_character(path, c);
  }
  return true;
}

bool is_utf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    // ASCII, the common case, 32 bytes at a time, then eight.
    if (text.size() - i >= 32) {
      std::uint64_t words[4];
      std::memcpy(words, text.data() + i, sizeof words);
      if (((words[0] | words[1] | words[2] | words[3]) & 0x8080808080808080u) == 0) {
        i += sizeof words;
        continue;
      }
    }
    std::uint64_t word = 0;
    if (text.size() - i >= sizeof word) {
      std::memcpy(&word, text.data() + i, sizeof word);
      if ((word & 0x8080808080808080u) == 0) {
        i += sizeof word;
        continue;
      }
    }
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
    } else if (utf8_character_at(text, i) == invalid_character) {
      return false;
    }
  }
  return true;
}

char32_t character_at(wide_view text, size_t index, size_t& length) {
  const char32_t unit = text[index];
  if (is_high_surrogate(unit) && index + 1 < text.size() && is_low_surrogate(text[index + 1])) {
    length = 2;
    return 0x10000 + ((unit - 0xD800) << 10) + (text[index + 1] - 0xDC00);
  }
  length = 1;
  return unit;
}

void append_character(wide_path& text, char32_t c) {
  if (c < 0x10000) {
    text += static_cast<char16_t>(c);
  } else {
    c -= 0x10000;
    text += static_cast<char16_t>(0xD800 + (c >> 10));
    text += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  }
}

std::string to_shown_utf8(wide_view text) {
  std::string narrow;
  narrow.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    size_t length = 0;
    const char32_t c = character_at(text, i, length);
    put_utf8(narrow, is_high_surrogate(c) || is_low_surrogate(c) ? U'\uFFFD' : c);
    i += length;
  }
  return narrow;
}

wide_text shown_wide(std::string_view bytes) {
  wide_text wide;
  if (append_wide(wide, bytes)) return wide;
  for (const char byte : bytes) wide += static_cast<char16_t>(static_cast<unsigned char>(byte));
  return wide;
}

std::string to_narrow(wide_view path) {
  std::string text;
  text.reserve(path.size());
  if (!append_narrow(text, path)) throw system_error(unconvertible_character_error());
  return text;
}

wide_path to_wide(std::string_view text) {
  wide_path path;
  path.reserve(text.size());
  if (!append_wide(path, text)) throw system_error(unconvertible_character_error());
  return path;
}

}  // namespace addfolder
