// How both documents are loaded and saved.
//
// Loading takes pugixml's defaults (parse_default, encoding_auto), with the
// encodings that a declaration names read as load_document says. Saving
// writes one tab of indentation, format_default, LF line ends, UTF-8 without
// a byte order mark, headed by <?xml version="1.0"?>; the file is written to
// a temporary file beside it and then put in place in one step, so that a
// failed save leaves the old file exactly as it was.
#pragma once

#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "file_access.h"
#include "path.h"

namespace addfolder {

// Why a document's text was refused, so that the message can say it.
struct document_text_problem {
  enum class reason {
    // Nothing is wrong with the text (the file may still fail to load).
    none,
    // The declaration names an encoding that this program does not read.
    unsupported_encoding,
    // The bytes or a character reference are not valid in the encoding.
    invalid_text,
  };
  reason why = reason::none;
  // The encoding, as declared or as the bytes show it.
  std::string encoding;
};

// Loads a whole file into document (emptied first). True only for status_ok
// and a text that is valid in its encoding: a document that declares
// windows-1252 is converted from it, one that declares an encoding the
// parser does not convert is refused, and so is one that would hold anything
// but UTF-8 once loaded, so no such bytes are ever written back. A stamp,
// where asked for, receives the state of the file as it was read; a problem,
// where asked for, why its text was refused.
bool load_document(pugi::xml_document& document, const wide_path& file, file_stamp* stamp = nullptr,
                   document_text_problem* problem = nullptr);

// Loads a document from bytes as load_document loads a file.
bool load_document_bytes(pugi::xml_document& document, std::string_view bytes,
                         document_text_problem* problem = nullptr);

// Saves a document under file by the save convention. False when the file
// could not be written, or when the document is nested so deeply that its
// indentation alone would exceed 1 GiB; the old file is then untouched and no
// temporary file is left. A read-only file is never replaced.
bool save_document(const pugi::xml_document& document, const wide_path& file);

// The bytes that save_document writes for a document.
std::string saved_form(const pugi::xml_document& document);

}  // namespace addfolder
