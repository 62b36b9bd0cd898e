#include "exclusion_lines.h"

#include "text_conversion.h"

namespace addfolder {
namespace {

// The whole text in UTF-16; false when the bytes are not text.
bool decode(std::string_view bytes, wide_path& text) {
  // A NUL is in no name, and most likely means a file that is no text at all.
  return decode_marked_text(bytes, text) && text.find(u'\0') == wide_path::npos;
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
