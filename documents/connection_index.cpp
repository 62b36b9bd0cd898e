#include "connection_index.h"

#include <algorithm>
#include <functional>
#include <new>

#include "path_text_match.h"

namespace addfolder {
namespace {

// A section with up to this many children is walked: that is as quick as a
// hash lookup and needs no memory, and most groups are that small.
constexpr size_t walked_section_limit = 16;

size_t hash_of(pugi::xml_node section, std::string_view text) {
  return path_text_hash(text) ^ (section.hash_value() * 0x9E3779B97F4A7C15ull);
}

void index_children(connection_index& index, pugi::xml_node section) {
  for (pugi::xml_node child : section.children()) index.listed_children.insert(child);
}

// The number of children of a section, counted when it is first seen.
size_t section_size(connection_index& index, pugi::xml_node section) {
  const auto [entry, first_seen] = index.section_sizes.try_emplace(section, 0);
  if (first_seen) {
    entry->second = static_cast<size_t>(std::distance(section.begin(), section.end()));
    if (entry->second > walked_section_limit) index_children(index, section);
  }
  return entry->second;
}

// Records a child appended to section, once it has its final text.
void record_child(connection_index& index, pugi::xml_node section, pugi::xml_node child) {
  const auto entry = index.section_sizes.find(section);
  if (entry == index.section_sizes.end()) return;
  const size_t size = ++entry->second;
  if (size == walked_section_limit + 1) {
    index_children(index, section);
  } else if (size > walked_section_limit + 1) {
    index.listed_children.insert(child);
  }
}

bool is_group(pugi::xml_node node) {
  return node.type() == pugi::node_element && std::string_view(node.name()) == "group";
}

// Every attribute called name of every group counts; the first group in
// document order wins, as in find_child_by_attribute.
void record_group(connection_index& index, pugi::xml_node group) {
  for (pugi::xml_attribute attribute : group.attributes()) {
    if (std::string_view(attribute.name()) == "name") {
      index.groups.emplace(connection_index::group_key{group.parent(), attribute.value()}, group);
    }
  }
}

void index_groups(connection_index& index, pugi::xml_node parent) {
  if (!index.group_parents.insert(parent).second) return;
  for (pugi::xml_node child : parent.children()) {
    if (is_group(child)) record_group(index, child);
  }
}

void forget_group(connection_index& index, pugi::xml_node group) {
  for (pugi::xml_attribute attribute : group.attributes()) {
    if (std::string_view(attribute.name()) != "name") continue;
    const auto found = index.groups.find(connection_index::group_key{group.parent(), attribute.value()});
    if (found != index.groups.end() && found->second == group) index.groups.erase(found);
  }
}

// Every element at any depth below files but the groups, which are walked
// into: the texts that the tree layout counts as listed.
void index_texts_in_files(connection_index& index) {
  index.texts_in_files_indexed = true;
  pugi::xml_node node = index.files.first_child();
  while (node) {
    if (node.type() == pugi::node_element) {
      if (!is_group(node)) index.texts_in_files.insert(node);
      if (node.first_child()) {
        node = node.first_child();
        continue;
      }
    }
    while (!node.next_sibling()) {
      node = node.parent();
      if (node == index.files) return;
    }
    node = node.next_sibling();
  }
}

bool lies_in_files(const connection_index& index, pugi::xml_node node) {
  for (; node; node = node.parent()) {
    if (node == index.files) return true;
  }
  return false;
}

void forget_text_in_files(connection_index& index, pugi::xml_node element) {
  auto [first, last] = index.texts_in_files.equal_range(element);
  for (; first != last; ++first) {
    if (*first == element) {
      index.texts_in_files.erase(first);
      return;
    }
  }
}

// Only the document and elements take children; an append fails anywhere
// else, and then not for want of memory.
bool can_hold_elements(pugi::xml_node node) {
  return node.type() == pugi::node_element || node.type() == pugi::node_document;
}

// Whether text, "/" read as "\", is one of texts; table holds their hashes
// and views, sorted, made when first asked for; text_of gives a view of an
// item that lives as long as the index. Sorted by hash, which takes far less
// than a hash set of as many texts.
template <typename Texts, typename TextOf>
bool is_in_text_table(std::vector<std::pair<size_t, std::string_view>>& table, const Texts& texts, TextOf text_of,
                      std::string_view text) {
  if (table.empty() && !texts.empty()) {
    table.reserve(texts.size());
    for (const auto& item : texts) {
      const std::string_view item_text = text_of(item);
      table.emplace_back(path_text_hash(item_text), item_text);
    }
    std::sort(table.begin(), table.end());
  }
  const size_t hash = path_text_hash(text);
  for (auto entry = std::lower_bound(table.begin(), table.end(), std::pair(hash, std::string_view()));
       entry != table.end() && entry->first == hash; ++entry) {
    if (same_path_text(entry->second, text)) return true;
  }
  return false;
}

}  // namespace

size_t connection_index::child_hash::operator()(pugi::xml_node child) const {
  return hash_of(child.parent(), child.child_value());
}

size_t connection_index::child_hash::operator()(const listed_text& listed) const {
  return hash_of(listed.section, listed.text);
}

bool connection_index::child_equal::operator()(pugi::xml_node left, pugi::xml_node right) const {
  return left.parent() == right.parent() && same_path_text(left.child_value(), right.child_value());
}

bool connection_index::child_equal::operator()(const listed_text& listed, pugi::xml_node child) const {
  return child.parent() == listed.section && same_path_text(listed.text, child.child_value());
}

bool connection_index::child_equal::operator()(pugi::xml_node child, const listed_text& listed) const {
  return (*this)(listed, child);
}

size_t connection_index::group_key_hash::operator()(const group_key& key) const {
  return hash_of(key.parent, key.name);
}

bool connection_index::group_key_equal::operator()(const group_key& left, const group_key& right) const {
  return left.parent == right.parent && same_path_text(left.name, right.name);
}

bool connection_index::text_equal::operator()(pugi::xml_node left, pugi::xml_node right) const {
  return same_path_text(left.child_value(), right.child_value());
}

bool connection_index::text_equal::operator()(std::string_view text, pugi::xml_node element) const {
  return same_path_text(text, element.child_value());
}

bool connection_index::text_equal::operator()(pugi::xml_node element, std::string_view text) const {
  return same_path_text(text, element.child_value());
}

connection_index start_connection_index(pugi::xml_node files) {
  connection_index index;
  index.files = files;
  return index;
}

pugi::xml_node listing_child(connection_index& index, pugi::xml_node section, std::string_view path_text) {
  if (!section) return pugi::xml_node();
  pugi::xml_node found;
  // Asked first, the child after the last one found, or else the section's
  // first child, spares a run that finds what an earlier run wrote from
  // reading whole sections.
  pugi::xml_node likely = index.next_likely;
  if (!likely || likely.parent() != section) likely = section.first_child();
  if (likely && same_path_text(likely.child_value(), path_text)) {
    found = likely;
  } else if (section_size(index, section) <= walked_section_limit) {
    for (pugi::xml_node child : section.children()) {
      if (same_path_text(child.child_value(), path_text)) {
        found = child;
        break;
      }
    }
  } else if (const auto listed = index.listed_children.find(connection_index::listed_text{section, path_text});
             listed != index.listed_children.end()) {
    found = *listed;
  }
  if (found) index.next_likely = found.next_sibling();
  return found;
}

bool is_path_listed(connection_index& index, pugi::xml_node section, std::string_view path_text) {
  return static_cast<bool>(listing_child(index, section, path_text));
}

pugi::xml_node find_group(connection_index& index, std::string_view name) {
  return find_child_group(index, index.files, name);
}

pugi::xml_node find_child_group(connection_index& index, pugi::xml_node parent, std::string_view name) {
  if (!parent) return pugi::xml_node();
  index_groups(index, parent);
  // The document's texts end at their first zero byte, and so does the
  // name that find_child_by_attribute compares with them.
  const auto found = index.groups.find(connection_index::group_key{parent, name.substr(0, name.find('\0'))});
  return found == index.groups.end() ? pugi::xml_node() : found->second;
}

pugi::xml_node listing_element_in_files(connection_index& index, std::string_view path_text) {
  if (!index.files) return pugi::xml_node();
  if (!index.texts_in_files_indexed) index_texts_in_files(index);
  const auto found = index.texts_in_files.find(path_text);
  return found == index.texts_in_files.end() ? pugi::xml_node() : *found;
}

pugi::xml_node append_path(connection_index& index, pugi::xml_node section, std::string_view path_text) {
  if (!can_hold_elements(section)) return pugi::xml_node();
  // A copy of the prototype holds its text as its own value, as the parser
  // stores it: one node where an element and a text node take two. The
  // library gives no other way to make such an element.
  pugi::xml_node path = index.path_prototype ? section.append_copy(index.path_prototype) : section.append_child("path");
  if (!path) throw std::bad_alloc();
  const bool complete = path.text().set(path_text.data(), path_text.size());
  record_child(index, section, path);
  if (!complete) throw std::bad_alloc();
  if (index.texts_in_files_indexed && lies_in_files(index, section)) index.texts_in_files.insert(path);
  return path;
}

void begin_appending(connection_index& index, pugi::xml_node document) {
  // Parsed into the document, its name and text lie in a buffer that the
  // document keeps, which copies share instead of copying. Without memory
  // for it, paths are appended as elements with a text node, in the same bytes.
  if (index.path_prototype || document.type() != pugi::node_document) return;
  constexpr std::string_view prototype = "<path>-</path>";
  if (document.append_buffer(prototype.data(), prototype.size(), pugi::parse_default | pugi::parse_embed_pcdata,
                             pugi::encoding_utf8)) {
    index.path_prototype = document.last_child();
  }
}

void end_appending(connection_index& index) {
  if (index.path_prototype) index.path_prototype.parent().remove_child(index.path_prototype);
  index.path_prototype = pugi::xml_node();
}

pugi::xml_node append_group(connection_index& index, pugi::xml_node parent, std::string_view name) {
  if (!can_hold_elements(parent)) return pugi::xml_node();
  pugi::xml_node group = parent.append_child("group");
  if (!group) throw std::bad_alloc();
  const bool complete = group.append_attribute("name").set_value(name.data(), name.size());
  record_child(index, parent, group);
  if (index.group_parents.count(parent) != 0) record_group(index, group);
  if (!complete) throw std::bad_alloc();
  return group;
}

void note_run_entry(connection_index& index, pugi::xml_node child) {
  index.run_listing.push_back(child.internal_object());
  index.run_listing_by_address.clear();
}

bool is_next_run_entry(connection_index& index, pugi::xml_node child) {
  if (index.run_listing_next >= index.run_listing.size() ||
      index.run_listing[index.run_listing_next] != child.internal_object()) {
    return false;
  }
  ++index.run_listing_next;
  return true;
}

bool lists_run_entry(connection_index& index, pugi::xml_node child) {
  const pugi::xml_node_struct* const node = child.internal_object();
  // The prune asks in document order, which is mostly the fill's order.
  if (is_next_run_entry(index, child)) return true;
  auto& by_address = index.run_listing_by_address;
  if (by_address.size() != index.run_listing.size()) {
    by_address.clear();
    by_address.reserve(index.run_listing.size());
    for (size_t i = 0; i < index.run_listing.size(); ++i) by_address.emplace_back(index.run_listing[i], i);
    // The nodes' own addresses sort without a call per comparison. The
    // library makes the nodes of a loaded document in document order, and
    // the fill finds entries mostly in that order, so they are often sorted
    // already.
    if (!std::is_sorted(by_address.begin(), by_address.end())) std::sort(by_address.begin(), by_address.end());
  }
  const auto found = std::lower_bound(by_address.begin(), by_address.end(), std::pair(node, size_t{0}));
  if (found == by_address.end() || found->first != node) return false;
  // The next question most likely concerns the element noted after this one.
  index.run_listing_next = found->second + 1;
  return true;
}

bool is_run_source_text(connection_index& index, const connection_entries& entries, std::string_view text) {
  std::string scratch;
  const auto text_of = [&](const connection_entries::source& source) {
    // The texts that the entries make only on demand are kept with the index.
    return source.is_whole() ? source.text() : index.run_made_texts.add(path_text_of(entries, source, scratch));
  };
  return is_in_text_table(index.run_source_texts, entries.sources, text_of, text);
}

bool is_run_include_text(connection_index& index, const connection_entries& entries, std::string_view text) {
  return is_in_text_table(index.run_include_texts, entries.include_paths,
                          [](const std::string& include) { return std::string_view(include); }, text);
}

void remove_listed_child(connection_index& index, pugi::xml_node child) {
  pugi::xml_node section = child.parent();
  // The set holds the first of equal children; only that one is child itself.
  if (const auto found = index.listed_children.find(child); found != index.listed_children.end() && *found == child) {
    index.listed_children.erase(found);
  }
  if (const auto size = index.section_sizes.find(section); size != index.section_sizes.end()) --size->second;
  if (is_group(child)) {
    forget_group(index, child);
  } else if (index.texts_in_files_indexed) {
    forget_text_in_files(index, child);
  }
  section.remove_child(child);
}

}  // namespace addfolder
