#include "xml_document.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "declared_encoding.h"
#include "file_bytes.h"
#include "file_replacement.h"
#include "loaded_texts.h"
#include "text_conversion.h"

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

// The library hands its writer a few kilobytes at a time; gathered into
// larger pieces, a large document takes a hundred writes to the file, not
// thousands.
class gathering_writer : public pugi::xml_writer {
 public:
  explicit gathering_writer(pugi::xml_writer& target) : target_(target) { pending_.reserve(capacity); }
  void write(const void* data, size_t size) override {
    if (pending_.size() + size > capacity) flush();
    if (size >= capacity) {
      target_.write(data, size);
    } else {
      pending_.append(static_cast<const char*>(data), size);
    }
  }
  // Hands on what is gathered.
  void flush() {
    if (!pending_.empty()) target_.write(pending_.data(), pending_.size());
    pending_.clear();
  }

 private:
  static constexpr size_t capacity = 64 * 1024;
  pugi::xml_writer& target_;
  std::string pending_;
};

// The save convention: one tab, format_default, the encoding the document
// holds (UTF-8), so no byte order mark and the declaration <?xml version="1.0"?>.
void write_document(const pugi::xml_document& document, pugi::xml_writer& writer) {
  carriage_return_escaper escaper(writer);
  gathering_writer gathered(escaper);
  document.save(gathered, "\t", pugi::format_default, pugi::encoding_auto);
  gathered.flush();
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

// A new block from pugixml's allocator that holds bytes; false when memory runs out.
bool copy_to_block(std::string_view bytes, file_bytes& block) {
  block.data = static_cast<char*>(pugi::get_memory_allocation_function()(bytes.size() + 1));
  if (block.data == nullptr) return false;
  std::memcpy(block.data, bytes.data(), bytes.size());
  block.size = bytes.size();
  return true;
}


// Brings the block into the encoding that the parser is told; false when
// its bytes are not valid in their own.
bool prepare_block(file_bytes& bytes, document_encoding encoding) {
  const std::string_view text(bytes.data, bytes.size);
  if (encoding == document_encoding::utf8) return is_utf8(text);
  if (encoding == document_encoding::ascii) {
    return std::none_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  }
  if (encoding != document_encoding::windows_1252) return true;
  std::string utf8;
  bool converted = false;
  try {
    converted = append_windows_1252(utf8, text);
  } catch (const std::bad_alloc&) {
    release_file_bytes(bytes);
    throw;
  }
  if (!converted) return false;
  release_file_bytes(bytes);
  if (!copy_to_block(utf8, bytes)) throw std::bad_alloc();
  return true;
}

pugi::xml_encoding parser_encoding(document_encoding encoding) {
  switch (encoding) {
    case document_encoding::detected_by_parser:
    case document_encoding::unsupported:
      break;
    case document_encoding::latin1:
      return pugi::encoding_latin1;
    case document_encoding::utf8:
    case document_encoding::ascii:
    case document_encoding::windows_1252:
      return pugi::encoding_utf8;
  }
  return pugi::encoding_auto;
}

// The library's defaults, but the first text of an element, where no child
// stands before it, is the element's own value instead of a node of its
// own: a path element and its text take one node, not two. Nodes that read
// texts by child_value or text() see no difference, and the library writes
// such a value as it writes a first text node.
constexpr unsigned int parse_options = pugi::parse_default | pugi::parse_embed_pcdata;

// Parses a block that the document takes over; the block is gone afterwards.
pugi::xml_parse_result parse(pugi::xml_document& document, file_bytes& bytes, pugi::xml_encoding encoding) {
  pugi::xml_parse_result result;
  if (std::memchr(bytes.data, '\0', bytes.size) == nullptr) {
    // The document takes the block over, as load_file does with its own, so
    // that a large file is not held twice.
    result = document.load_buffer_inplace_own(bytes.data, bytes.size, parse_options, encoding);
    bytes = file_bytes{};
  } else {
    // Parsing in place, the library takes a NUL byte for the end of the
    // block and can accept a file that load_file refuses, keeping only what
    // stands before the NUL. A copy with a terminator parses as load_file does.
    result = document.load_buffer(bytes.data, bytes.size, parse_options, encoding);
    release_file_bytes(bytes);
  }
  return result;
}

// The parser's refusal, with where it stopped; the line is 1 until the
// caller counts it in the bytes as they were before parsing (line_at).
document_error malformed(const wide_path& file, const pugi::xml_parse_result& result) {
  document_error error = make_document_error(document_failure::malformed, file, static_cast<int>(result.status));
  error.detail = result.description();
  error.offset = result.offset > 0 ? static_cast<size_t>(result.offset) : 0;
  error.line = 1;
  return error;
}

// The line, counted from 1, of offset in the text that the parser read from
// bytes, which are released. Parsing in place changes the bytes before the
// offset, so the caller reads them again.
size_t line_at(file_bytes& bytes, size_t offset) {
  size_t line = 1;
  if (prepare_block(bytes, choose_encoding(std::string_view(bytes.data, bytes.size)).encoding)) {
    line += static_cast<size_t>(std::count(bytes.data, bytes.data + std::min(offset, bytes.size), '\n'));
  }
  release_file_bytes(bytes);
  return line;
}

// Reads a document from a block in the encoding that it declares; the block
// is gone afterwards.
document_error parse_block(pugi::xml_document& document, file_bytes& bytes, const wide_path& file) {
  const encoding_choice choice = choose_encoding(std::string_view(bytes.data, bytes.size));
  const auto refuse = [&](document_error error) {
    release_file_bytes(bytes);
    // The library keeps what it parsed before an error; nothing may use it.
    document.reset();
    return error;
  };
  if (choice.encoding == document_encoding::unsupported) {
    return refuse(encoding_error(document_failure::unsupported_encoding, file, choice.name));
  }
  if (!prepare_block(bytes, choice.encoding)) {
    return refuse(encoding_error(document_failure::invalid_text, file, choice.name));
  }
  // Valid bytes can still name, by a character reference, a character that
  // UTF-8 has no form for; and the parser converts UTF-16 and UTF-32 itself.
  const std::string_view text(bytes.data, bytes.size);
  const bool has_references = text.find("&#") != std::string_view::npos;
  const bool check_texts = choice.encoding == document_encoding::detected_by_parser || has_references;
  // Other encodings than those the parser detects keep markup in ASCII bytes.
  const bool settle = choice.encoding == document_encoding::detected_by_parser ||
                      may_need_settling(text, has_references);
  const pugi::xml_parse_result result = parse(document, bytes, parser_encoding(choice.encoding));
  if (result.status == pugi::status_out_of_memory) {
    return refuse(make_document_error(document_failure::out_of_memory, file));
  }
  if (result.status != pugi::status_ok) return refuse(malformed(file, result));
  if (settle) settle_texts(document);
  if (check_texts && !holds_only_utf8(document)) {
    return refuse(encoding_error(document_failure::invalid_text, file, choice.name));
  }
  return {};
}

}  // namespace

document_error load_document(pugi::xml_document& document, const wide_path& file, file_stamp* stamp) {
  document.reset();
  file_bytes bytes;
  if (document_error error = read_whole_file(file, bytes, stamp)) return error;
  document_error error = parse_block(document, bytes, file);
  if (error.failure == document_failure::malformed && !read_whole_file(file, bytes)) {
    error.line = line_at(bytes, error.offset);
  }
  return error;
}

document_error load_document_bytes(pugi::xml_document& document, std::string_view bytes) {
  document.reset();
  file_bytes block;
  if (!copy_to_block(bytes, block)) throw std::bad_alloc();
  document_error error = parse_block(document, block, wide_path());
  if (error.failure == document_failure::malformed && copy_to_block(bytes, block)) {
    error.line = line_at(block, error.offset);
  }
  return error;
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
