#include "xml_document.h"

#include <algorithm>
#include <cstring>

#include "file_bytes.h"
#include "file_replacement.h"

namespace addfolder {
namespace {

// The library writes a carriage return inside a text as it is, and loading
// turns it into a line feed, so such a text would change with every save.
// A carriage return reaches the writer only from a text: loading turns those
// of CDATA sections into line feeds as well, the library escapes attribute
// values itself, and the layout has tabs and line feeds alone. Each one is
// therefore written as a character reference, which loads back unchanged.
struct carriage_return_escaper : pugi::xml_writer {
  explicit carriage_return_escaper(pugi::xml_writer& target) : target(target) {}
  void write(const void* data, size_t size) override {
    const char* rest = static_cast<const char*>(data);
    const char* const end = rest + size;
    while (rest != end) {
      const char* found = static_cast<const char*>(std::memchr(rest, '\r', static_cast<size_t>(end - rest)));
      const char* stop = found != nullptr ? found : end;
      if (stop != rest) target.write(rest, static_cast<size_t>(stop - rest));
      if (found == nullptr) return;
      target.write("&#13;", 5);
      rest = found + 1;
    }
  }
  pugi::xml_writer& target;
};

// The save convention: one tab, format_default, the encoding the document
// holds (UTF-8), so no byte order mark and the declaration <?xml version="1.0"?>.
void write_document(const pugi::xml_document& document, pugi::xml_writer& writer) {
  carriage_return_escaper escaper(writer);
  document.save(escaper, "\t", pugi::format_default, pugi::encoding_auto);
}

// White space as XML has it: blank, tab, carriage return, line feed.
bool is_white_space(const char* text) {
  for (; *text != '\0'; ++text) {
    if (std::strchr(" \t\r\n", *text) == nullptr) return false;
  }
  return true;
}

// Joins the texts that directly follow a text into it. Where memory runs out
// they stay apart, as the library loaded them.
void join_following_texts(pugi::xml_node text) {
  if (text.next_sibling().type() != pugi::node_pcdata) return;
  std::string joined = text.value();
  for (pugi::xml_node next = text.next_sibling(); next.type() == pugi::node_pcdata; next = next.next_sibling()) {
    joined += next.value();
  }
  if (!text.set_value(joined.c_str(), joined.size())) return;
  while (text.next_sibling().type() == pugi::node_pcdata) text.parent().remove_child(text.next_sibling());
}

// Makes the texts of a loaded document what they will be when its saved
// form is loaded. The library keeps two texts apart where a comment or a
// processing instruction stood between them, and keeps a text of white space
// that the file spells with character references (&#32;); the saved form
// joins the first and writes the second as plain white space, which loading
// drops. Otherwise a run would judge a text by a part of it, and the next run
// would find another document than the one this run wrote.
void settle_texts(pugi::xml_document& document) {
  for (pugi::xml_node node = document.first_child(); node;) {
    if (node.type() == pugi::node_pcdata) join_following_texts(node);
    // The next node in document order, found before node may go.
    pugi::xml_node next = node.first_child();
    for (pugi::xml_node up = node; !next && up; up = up.parent()) next = up.next_sibling();
    if (node.type() == pugi::node_pcdata && is_white_space(node.value())) node.parent().remove_child(node);
    node = next;
  }
}

// Every line is indented by its depth, so the written form of a deeply
// nested document grows with the square of its depth: 100,000 nested
// elements would take 10 GB. A document that needs more indentation than
// this is not written at all.
constexpr unsigned long long most_indentation_bytes = 1ull << 30;

bool indentation_within_bounds(const pugi::xml_document& document) {
  unsigned long long indentation = 0;
  unsigned long long depth = 0;
  for (pugi::xml_node node = document.first_child(); node;) {
    // The start tag's line and, at most, the end tag's.
    if (node.type() == pugi::node_element) indentation += 2 * depth;
    if (indentation > most_indentation_bytes) return false;
    if (pugi::xml_node child = node.first_child()) {
      node = child;
      ++depth;
      continue;
    }
    while (!node.next_sibling() && depth > 0) {
      node = node.parent();
      --depth;
    }
    node = node.next_sibling();
  }
  return true;
}

struct string_writer : pugi::xml_writer {
  void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
  std::string text;
};

// The parser's refusal, with the line where it stopped. Parsing in place
// changes the bytes before that point, so the line is counted in the file as
// it is on the disk.
document_error malformed(const wide_path& file, const pugi::xml_parse_result& result) {
  document_error error = make_document_error(document_failure::malformed, file, static_cast<int>(result.status));
  error.detail = result.description();
  error.offset = result.offset > 0 ? static_cast<size_t>(result.offset) : 0;
  error.line = 1;
  file_bytes bytes;
  if (!read_whole_file(file, bytes)) {
    error.line += static_cast<size_t>(std::count(bytes.data, bytes.data + std::min(error.offset, bytes.size), '\n'));
    release_file_bytes(bytes);
  }
  return error;
}

}  // namespace

document_error load_document(pugi::xml_document& document, const wide_path& file, file_stamp* stamp) {
  document.reset();
  file_bytes bytes;
  if (document_error error = read_whole_file(file, bytes, stamp)) return error;
  pugi::xml_parse_result result;
  if (std::memchr(bytes.data, '\0', bytes.size) == nullptr) {
    // The document takes the block over, as load_file does with its own, so
    // that a large file is not held twice.
    result = document.load_buffer_inplace_own(bytes.data, bytes.size, pugi::parse_default, pugi::encoding_auto);
  } else {
    // Parsing in place, the library takes a NUL byte for the end of the
    // block and can accept a file that load_file refuses, keeping only what
    // stands before the NUL. A copy with a terminator parses as load_file does.
    result = document.load_buffer(bytes.data, bytes.size, pugi::parse_default, pugi::encoding_auto);
    release_file_bytes(bytes);
  }
  if (result.status == pugi::status_ok) {
    settle_texts(document);
    return {};
  }
  // The library keeps what it parsed before the error; nothing may use it.
  document.reset();
  if (result.status == pugi::status_out_of_memory) return make_document_error(document_failure::out_of_memory, file);
  return malformed(file, result);
}

document_error save_document(const pugi::xml_document& document, const wide_path& file) {
  if (!indentation_within_bounds(document)) return make_document_error(document_failure::too_deep, file);
  return replace_file(file, [&](pugi::xml_writer& writer) { write_document(document, writer); });
}

document_error save_document_if_unchanged(const pugi::xml_document& document, const wide_path& file,
                                          const file_stamp& expected, file_undo* undo) {
  if (!indentation_within_bounds(document)) return make_document_error(document_failure::too_deep, file);
  return replace_if_unchanged(file, expected, [&](pugi::xml_writer& writer) { write_document(document, writer); },
                              undo);
}

std::string saved_form(const pugi::xml_document& document) {
  string_writer writer;
  write_document(document, writer);
  return std::move(writer.text);
}

}  // namespace addfolder
