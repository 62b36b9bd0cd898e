#include "declared_encoding.h"

#include <algorithm>

#include "text_conversion.h"

namespace addfolder {
namespace {

struct declared_name {
  std::string_view name;
  document_encoding encoding;
};

// Every encoding that a declaration may name. A file whose bytes are 8-bit
// cannot be UTF-16 or UTF-32, whatever it declares (some tools declare
// UTF-16 for text they write as UTF-8); the parser reads it as UTF-8, and so
// it must be valid UTF-8.
constexpr declared_name declared_names[] = {
    {"UTF-8", document_encoding::utf8},
    {"UTF-16", document_encoding::utf8},
    {"UTF-16LE", document_encoding::utf8},
    {"UTF-16BE", document_encoding::utf8},
    {"UTF-32", document_encoding::utf8},
    {"UTF-32LE", document_encoding::utf8},
    {"UTF-32BE", document_encoding::utf8},
    {"US-ASCII", document_encoding::ascii},
    {"ASCII", document_encoding::ascii},
    {"ISO-8859-1", document_encoding::latin1},
    {"latin1", document_encoding::latin1},
    {"windows-1252", document_encoding::windows_1252},
    {"cp1252", document_encoding::windows_1252},
};

bool same_name(std::string_view left, std::string_view right) {
  const auto folded = [](char c) { return ascii_lower(static_cast<unsigned char>(c)); };
  return std::equal(left.begin(), left.end(), right.begin(), right.end(),
                    [&](char a, char b) { return folded(a) == folded(b); });
}

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The value of the encoding pseudo-attribute of an XML declaration at the
// start of bytes; empty when there is none.
std::string_view declared_name_in(std::string_view bytes) {
  if (bytes.size() < 6 || !bytes.starts_with("<?xml") || !is_space(bytes[5])) return {};
  const std::string_view declaration = bytes.substr(0, bytes.find("?>"));
  size_t at = declaration.find("encoding");
  if (at == std::string_view::npos) return {};
  at += 8;
  while (at < declaration.size() && is_space(declaration[at])) ++at;
  if (at >= declaration.size() || declaration[at] != '=') return {};
  ++at;
  while (at < declaration.size() && is_space(declaration[at])) ++at;
  if (at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\'')) return {};
  const size_t close = declaration.find(declaration[at], at + 1);
  if (close == std::string_view::npos) return {};
  return declaration.substr(at + 1, close - at - 1);
}

// The Unicode encoding that a byte order mark or zero bytes at the start
// show, as the parser tells them; empty for 8-bit bytes.
std::string_view marked_encoding(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return "UTF-8";
  if (bytes.starts_with(std::string_view("\0\0", 2)) || bytes.starts_with(std::string_view("\xFF\xFE\0\0", 4))) {
    return "UTF-32";
  }
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return "UTF-16";
  if (bytes.size() >= 2 && (bytes[0] == '\0' || bytes[1] == '\0')) return "UTF-16";
  return {};
}

}  // namespace

encoding_choice choose_encoding(std::string_view bytes) {
  if (const std::string_view marked = marked_encoding(bytes); !marked.empty()) {
    return encoding_choice{document_encoding::detected_by_parser, std::string(marked)};
  }
  const std::string_view declared = declared_name_in(bytes);
  if (declared.empty()) return encoding_choice{document_encoding::utf8, "UTF-8"};
  for (const declared_name& known : declared_names) {
    if (same_name(declared, known.name)) return encoding_choice{known.encoding, std::string(declared)};
  }
  return encoding_choice{document_encoding::unsupported, std::string(declared)};
}

}  // namespace addfolder
