// How both documents are loaded and saved.
//
// Loading takes pugixml's defaults (parse_default, encoding_auto), with the
// encodings that a declaration names read as load_document says, and
// parse_embed_pcdata: the first text of an element, where no child stands
// before it, is the element's own value, which child_value() and text() read
// but first_child() does not give. Saving
// writes one tab of indentation, format_default, LF line ends, UTF-8 without
// a byte order mark, headed by <?xml version="1.0"?>; the file is written to
// a temporary file beside it and then put in place in one step, so that a
// failed save leaves the old file exactly as it was.
#pragma once

#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "document_error.h"
#include "file_stamp.h"
#include "file_undo.h"
#include "path.h"

namespace addfolder {

// Loads a whole file into document (emptied first). Only status_ok loads,
// and only a text that is valid in its encoding: a document that declares
// windows-1252 is converted from it, one that declares an encoding that the
// parser does not convert gives document_failure::unsupported_encoding, and
// one that would hold anything but UTF-8 once loaded gives
// document_failure::invalid_text, so no such bytes are ever written back. A
// document that does not parse gives document_failure::malformed with the
// parser's description and the line where it stopped. A stamp, where asked
// for, receives the state of the file as it was read.
document_error load_document(pugi::xml_document& document, const wide_path& file, file_stamp* stamp = nullptr);

// Loads a document from bytes as load_document loads a file; the error names no file.
document_error load_document_bytes(pugi::xml_document& document, std::string_view bytes);

// Saves a document under file by the save convention. An error when the file
// could not be written, or when the document is nested so deeply that its
// indentation alone would exceed 1 GiB; the old file is then untouched and no
// temporary file is left. A read-only file is never replaced.
document_error save_document(const pugi::xml_document& document, const wide_path& file);

// Saves as save_document does, but only while file is in the state expected,
// which its reading gave (replace_if_unchanged): document_failure::changed,
// with nothing written, where another program changed it since. Where undo
// is given, it keeps what it needs to put the old file back.
document_error save_document_if_unchanged(const pugi::xml_document& document, const wide_path& file,
                                          const file_stamp& expected, file_undo* undo = nullptr);

// The bytes that save_document writes for a document.
std::string saved_form(const pugi::xml_document& document);

}  // namespace addfolder
