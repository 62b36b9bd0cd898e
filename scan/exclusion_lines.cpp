#include "exclusion_lines.h"

#include "text_conversion.h"

namespace addfolder {
namespace {

constexpr std::string_view utf8_mark = "\xEF\xBB\xBF";
constexpr std::string_view utf16_little_endian_mark = "\xFF\xFE";
constexpr std::string_view utf16_big_endian_mark = "\xFE\xFF";

// Appends UTF-16 bytes of the given order to text; false on an odd length or a lone surrogate.
bool append_utf16(wide_path& text, std::string_view bytes, bool big_endian) {
  if (bytes.size() % 2 != 0) return false;
  text.reserve(bytes.size() / 2);
  for (std::size_t index = 0; index < bytes.size(); index += 2) {
    const auto first = static_cast<unsigned char>(bytes[index]);
    const auto second = static_cast<unsigned char>(bytes[index + 1]);
    text += static_cast<char16_t>(big_endian ? (first << 8) | second : (second << 8) | first);
  }
  for (std::size_t index = 0; index < text.size(); ++index) {
    const char16_t unit = text[index];
    if (unit >= 0xDC00 && unit <= 0xDFFF) return false;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (index + 1 == text.size() || text[index + 1] < 0xDC00 || text[index + 1] > 0xDFFF) return false;
      ++index;
    }
  }
  return true;
}

// The whole text in UTF-16; false when the bytes are not text.
bool decode(std::string_view bytes, wide_path& text) {
  bool decoded = false;
  if (bytes.starts_with(utf16_little_endian_mark)) {
    decoded = append_utf16(text, bytes.substr(utf16_little_endian_mark.size()), false);
  } else if (bytes.starts_with(utf16_big_endian_mark)) {
    decoded = append_utf16(text, bytes.substr(utf16_big_endian_mark.size()), true);
  } else {
    if (bytes.starts_with(utf8_mark)) bytes.remove_prefix(utf8_mark.size());
    decoded = append_wide(text, bytes);
  }
  // A NUL is in no name, and most likely means a file that is no text at all.
  return decoded && text.find(u'\0') == wide_path::npos;
}

bool is_trailing_blank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r'; }

}  // namespace

bool parse_exclusion_lines(std::string_view bytes, std::vector<wide_path>& patterns) {
  wide_path text;
  if (!decode(bytes, text)) return false;
  const wide_view rest = text;
  for (std::size_t start = 0; start < rest.size();) {
    std::size_t end = rest.find(u'\n', start);
    if (end == wide_view::npos) end = rest.size();
    wide_view line = rest.substr(start, end - start);
    start = end + 1;
    while (!line.empty() && is_trailing_blank(line.back())) line.remove_suffix(1);
    if (line.empty() || line.front() == u'#') continue;
    patterns.emplace_back(line);
  }
  return true;
}

}  // namespace addfolder
