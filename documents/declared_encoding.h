// The encoding of a document: what its byte order mark or its declaration
// says, and how this program reads it.
#pragma once

#include <string>
#include <string_view>

namespace addfolder {

// How the bytes of a document are read.
enum class document_encoding {
  // A byte order mark, or the zero bytes of UTF-16 or UTF-32: the parser
  // tells the encoding and converts it.
  detected_by_parser,
  // UTF-8, also where nothing is declared: read as they are.
  utf8,
  // US-ASCII: read as they are; a byte of 0x80 or above is an error.
  ascii,
  // ISO-8859-1: the parser converts it.
  latin1,
  // windows-1252: converted before the parser reads it.
  windows_1252,
  // Any other encoding: refused, since reading it as UTF-8 would keep bytes
  // that no UTF-8 file may hold.
  unsupported,
};

// The encoding of a document and the name to tell the user.
struct encoding_choice {
  document_encoding encoding = document_encoding::utf8;
  // The name as the declaration writes it, or the name of the encoding that
  // the bytes show (such as "UTF-8" where nothing is declared).
  std::string name;
};

// The encoding of a document's bytes, from its byte order mark or the
// encoding that its XML declaration names (compared without letter case).
encoding_choice choose_encoding(std::string_view bytes);

}  // namespace addfolder
