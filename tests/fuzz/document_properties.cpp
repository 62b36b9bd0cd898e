#include "tests/fuzz/document_properties.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

#include "path_text_match.h"
#include "xml_document.h"
#include "tests/test_folder.h"

namespace addfolder::fuzz_support {
namespace {

// One child as the written file will hold it: an element or other node, or
// the text of a run of adjacent text nodes.
struct kept_child {
  pugi::xml_node node;
  std::string text;
  bool is_text = false;
};

// Whether an element holds its first text as its own value, as the load
// convention parses it, rather than in a text node.
bool holds_own_text(pugi::xml_node node) {
  return node.type() == pugi::node_element && node.text().data() == node;
}

bool is_white_space(const char* text) {
  return std::string_view(text).find_first_not_of(" \t\r\n") == std::string_view::npos;
}

std::vector<kept_child> kept_children(pugi::xml_node parent) {
  std::vector<kept_child> children;
  if (holds_own_text(parent)) children.push_back(kept_child{pugi::xml_node(), parent.value(), true});
  for (pugi::xml_node child : parent.children()) {
    if (child.type() != pugi::node_pcdata) {
      children.push_back(kept_child{child, {}, false});
    } else if (!children.empty() && children.back().is_text) {
      children.back().text += child.value();
    } else {
      children.push_back(kept_child{child, child.value(), true});
    }
  }
  std::erase_if(children, [](const kept_child& child) { return child.is_text && is_white_space(child.text.c_str()); });
  return children;
}

bool same_attributes(pugi::xml_node input, pugi::xml_node written) {
  pugi::xml_attribute other = written.first_attribute();
  for (pugi::xml_attribute attribute : input.attributes()) {
    if (!other || std::strcmp(attribute.name(), other.name()) != 0 ||
        std::strcmp(attribute.value(), other.value()) != 0) {
      return false;
    }
    other = other.next_attribute();
  }
  return !other;
}

void require_same(const kept_child& input, const kept_child& written) {
  require(input.is_text == written.is_text, "a node of the input changed its kind");
  if (input.is_text) {
    require(input.text == written.text, "a text of the input changed");
    return;
  }
  require(input.node.type() == written.node.type(), "a node of the input changed its kind");
  require(std::strcmp(input.node.name(), written.node.name()) == 0, "an element of the input changed its name");
  require(std::strcmp(input.node.value(), written.node.value()) == 0, "a CDATA section or a text of the input changed");
  require(same_attributes(input.node, written.node), "the attributes of an element of the input changed");
}

std::unique_ptr<test_support::test_folder>& scratch_folder() {
  static std::unique_ptr<test_support::test_folder> folder;
  return folder;
}

}  // namespace

void require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", property);
  std::abort();
}

bool load_bytes(pugi::xml_document& document, std::string_view bytes) {
  return !load_document_bytes(document, bytes);
}

std::vector<pugi::xml_node> appended_nodes(const pugi::xml_document& input, const pugi::xml_document& written) {
  std::vector<pugi::xml_node> appended;
  // Pairs still to compare, held here rather than on the call stack, so that
  // deep documents are compared in bounded stack.
  std::vector<std::pair<pugi::xml_node, pugi::xml_node>> pending{{input, written}};
  while (!pending.empty()) {
    const auto [input_parent, written_parent] = pending.back();
    pending.pop_back();
    const std::vector<kept_child> counterparts = kept_children(written_parent);
    size_t next = 0;
    for (const kept_child& child : kept_children(input_parent)) {
      require(next < counterparts.size(), "a node of the input is missing from the written file");
      require_same(child, counterparts[next]);
      if (!child.is_text) pending.emplace_back(child.node, counterparts[next].node);
      ++next;
    }
    for (; next < counterparts.size(); ++next) {
      require(!counterparts[next].is_text, "the written file gained a text");
      appended.push_back(counterparts[next].node);
    }
  }
  return appended;
}

std::string settled_text(pugi::xml_node element) {
  for (const kept_child& child : kept_children(element)) {
    if (child.is_text) return child.text;
    if (child.node.type() == pugi::node_cdata) return child.node.value();
  }
  return {};
}

bool holds_only_text(pugi::xml_node element) {
  const pugi::xml_node child = element.first_child();
  if (holds_own_text(element)) return !child;
  return child && !child.next_sibling() && child.type() == pugi::node_pcdata;
}

size_t children_with_text(pugi::xml_node section, std::string_view text) {
  size_t count = 0;
  for (pugi::xml_node child : section.children()) {
    if (same_path_text(child.child_value(), text)) ++count;
  }
  return count;
}

std::filesystem::path scratch_file(const char* name) {
  std::unique_ptr<test_support::test_folder>& folder = scratch_folder();
  if (!folder) {
    folder = std::make_unique<test_support::test_folder>();
    std::atexit([] { scratch_folder().reset(); });
  }
  return *folder / name;
}

}  // namespace addfolder::fuzz_support
