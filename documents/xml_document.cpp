#include "documents/xml_document.h"

#include "documents/file_access.h"

namespace addfolder {
namespace {

// The save convention: one tab, format_default, the encoding the document
// holds (UTF-8), so no byte order mark and the declaration <?xml version="1.0"?>.
void write_document(const pugi::xml_document& document, pugi::xml_writer& writer) {
  document.save(writer, "\t", pugi::format_default, pugi::encoding_auto);
}

struct string_writer : pugi::xml_writer {
  void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
  std::string text;
};

}  // namespace

bool load_document(pugi::xml_document& document, const wide_path& file, std::string* original_bytes) {
  document.reset();
  file_bytes bytes;
  if (!read_whole_file(file, bytes)) return false;
  if (original_bytes != nullptr) {
    try {
      original_bytes->assign(bytes.data, bytes.size);
    } catch (...) {
      release_file_bytes(bytes);
      throw;
    }
  }
  // The document takes the block over, as load_file does with its own, so
  // that a large file is not held twice.
  const pugi::xml_parse_result result =
      document.load_buffer_inplace_own(bytes.data, bytes.size, pugi::parse_default, pugi::encoding_auto);
  if (result.status == pugi::status_ok) return true;
  // The library keeps what it parsed before the error; nothing may use it.
  document.reset();
  return false;
}

bool save_document(const pugi::xml_document& document, const wide_path& file) {
  return replace_file(file, [&](pugi::xml_writer& writer) { write_document(document, writer); });
}

std::string saved_form(const pugi::xml_document& document) {
  string_writer writer;
  write_document(document, writer);
  return std::move(writer.text);
}

bool replace_file_content(const wide_path& file, std::string_view bytes) {
  return replace_file(file, [&](pugi::xml_writer& writer) { writer.write(bytes.data(), bytes.size()); });
}

}  // namespace addfolder
