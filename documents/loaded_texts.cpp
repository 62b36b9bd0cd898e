#include "loaded_texts.h"

#include <cstring>
#include <string>

#include "text_conversion.h"

namespace addfolder {
namespace {

// White space as XML has it: blank, tab, carriage return, line feed.
bool is_white_space(const char* text) {
  for (; *text != '\0'; ++text) {
    if (std::strchr(" \t\r\n", *text) == nullptr) return false;
  }
  return true;
}

// Whether an element holds its first text as its own value: the parser
// gives it a text that stands before any child.
bool holds_own_text(pugi::xml_node node) {
  return node.type() == pugi::node_element && node.text().data() == node;
}

// A text is a text node or an element's own value; the node after it is the
// next sibling, or the element's first child.
bool is_text(pugi::xml_node node) { return node.type() == pugi::node_pcdata || holds_own_text(node); }

pugi::xml_node after_text(pugi::xml_node text) {
  return text.type() == pugi::node_element ? text.first_child() : text.next_sibling();
}

// Joins the text nodes that directly follow a text into it. Where memory
// runs out they stay apart, as the library loaded them.
void join_following_texts(pugi::xml_node text) {
  if (after_text(text).type() != pugi::node_pcdata) return;
  std::string joined = text.value();
  for (pugi::xml_node next = after_text(text); next.type() == pugi::node_pcdata; next = next.next_sibling()) {
    joined += next.value();
  }
  if (!text.text().set(joined.c_str(), joined.size())) return;
  for (pugi::xml_node next = after_text(text); next.type() == pugi::node_pcdata; next = after_text(text)) {
    next.parent().remove_child(next);
  }
}

// A text node goes; an element's own value is emptied, which the library
// writes as it writes an element without a text.
void drop_text(pugi::xml_node text) {
  if (text.type() == pugi::node_element) {
    text.text().set("");
  } else {
    text.parent().remove_child(text);
  }
}

// The node after node in document order, its children first.
pugi::xml_node next_in_document(pugi::xml_node node) {
  pugi::xml_node next = node.first_child();
  for (pugi::xml_node up = node; !next && up; up = up.parent()) next = up.next_sibling();
  return next;
}

}  // namespace

void settle_texts(pugi::xml_document& document) {
  for (pugi::xml_node node = document.first_child(); node;) {
    const bool text = is_text(node);
    if (text) join_following_texts(node);
    // Found before node may go.
    const pugi::xml_node next = next_in_document(node);
    if (text && is_white_space(node.value())) drop_text(node);
    node = next;
  }
}

bool may_need_settling(std::string_view text, bool has_references) {
  if (has_references) return true;
  // The XML declaration at the very start, after a byte order mark at most,
  // stands before any text.
  constexpr size_t declaration_start_limit = 3;
  // Looked for by the rare second character, not by every "<" of the file.
  for (size_t at = text.find('!', 1); at != std::string_view::npos; at = text.find('!', at + 1)) {
    if (text[at - 1] == '<') return true;
  }
  for (size_t at = text.find('?', 1); at != std::string_view::npos; at = text.find('?', at + 1)) {
    if (text[at - 1] == '<' && at - 1 > declaration_start_limit) return true;
  }
  return false;
}

bool holds_only_utf8(const pugi::xml_document& document) {
  for (pugi::xml_node node = document.first_child(); node;) {
    if (!is_utf8(node.name()) || !is_utf8(node.value())) return false;
    for (pugi::xml_attribute attribute : node.attributes()) {
      if (!is_utf8(attribute.name()) || !is_utf8(attribute.value())) return false;
    }
    node = next_in_document(node);
  }
  return true;
}

}  // namespace addfolder
