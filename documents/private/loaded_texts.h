// What the texts of a document need once the parser has read it, before the
// run reads or writes any of them.
#pragma once

#include <string_view>

#include <pugixml.hpp>

namespace addfolder {

// Makes the texts of a loaded document what they will be when its saved
// form is loaded. The library keeps two texts apart where a comment or a
// processing instruction stood between them, and keeps a text of white space
// that the file spells with character references (&#32;); the saved form
// joins the first and writes the second as plain white space, which loading
// drops. Otherwise a run would judge a text by a part of it, and the next run
// would find another document than the one this run wrote.
void settle_texts(pugi::xml_document& document);

// Whether the bytes hold markup that can leave what settle_texts mends: a
// character reference, or a comment, a declaration or a processing
// instruction that parsing drops between two texts. Without such markup the
// pass over the whole document would change nothing.
bool may_need_settling(std::string_view text, bool has_references);

// Whether every name and value in the document, an element's own text
// included, is UTF-8: a character that a reference names but UTF-8 has no
// form for (a surrogate, a code above U+10FFFF) would be no UTF-8.
bool holds_only_utf8(const pugi::xml_document& document);

}  // namespace addfolder
