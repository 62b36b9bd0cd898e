// How both documents are loaded and saved.
//
// Loading takes pugixml's defaults (parse_default, encoding_auto). Saving
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

// Loads a whole file into document (emptied first). True only for status_ok.
// A stamp, where asked for, receives the state of the file as it was read.
bool load_document(pugi::xml_document& document, const wide_path& file, file_stamp* stamp = nullptr);

// Saves a document under file by the save convention. False when the file
// could not be written, or when the document is nested so deeply that its
// indentation alone would exceed 1 GiB; the old file is then untouched and no
// temporary file is left. A read-only file is never replaced.
bool save_document(const pugi::xml_document& document, const wide_path& file);

// The bytes that save_document writes for a document.
std::string saved_form(const pugi::xml_document& document);

}  // namespace addfolder
