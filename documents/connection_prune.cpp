#include "connection_prune.h"

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "path_text_match.h"
#include "file_extension.h"
#include "relative_form.h"
#include "text_conversion.h"

namespace addfolder {
namespace {

// This run's texts, to ask whether a text is among them: sorted by hash,
// which takes far less than a hash set of as many nodes.
class run_texts {
 public:
  template <typename Texts>
  explicit run_texts(const Texts& texts) {
    entries_.reserve(texts.size());
    for (std::string_view text : texts) entries_.emplace_back(path_text_hash(text), text);
    std::sort(entries_.begin(), entries_.end());
  }
  bool contains(std::string_view text) const {
    const size_t hash = path_text_hash(text);
    for (auto entry = std::lower_bound(entries_.begin(), entries_.end(), std::pair(hash, std::string_view()));
         entry != entries_.end() && entry->first == hash; ++entry) {
      if (same_path_text(entry->second, text)) return true;
    }
    return false;
  }

 private:
  std::vector<std::pair<size_t, std::string_view>> entries_;
};

bool is_separator_byte(char c) { return c == '\\' || c == '/'; }

// Whether a relative text lies within the folder: it is the folder or below
// it. Below the working directory (".") lies every text but ".." and what
// begins with "..\".
bool is_within_folder(std::string_view relative, std::string_view folder) {
  if (folder == ".") {
    return !relative.empty() && !(relative.substr(0, 2) == ".." && (relative.size() == 2 || is_separator_byte(relative[2])));
  }
  if (relative.size() < folder.size() || !same_path_text(relative.substr(0, folder.size()), folder)) return false;
  return relative.size() == folder.size() || is_separator_byte(relative[folder.size()]);
}

// Whether a path text names something within the folder: the macro, a
// separator, and a relative text within it.
bool is_path_within_folder(std::string_view text, std::string_view folder) {
  constexpr std::string_view macro = project_directory_macro;
  if (text.size() < macro.size() || !same_path_text(text.substr(0, macro.size()), macro)) return false;
  return is_within_folder(text.substr(macro.size()), folder);
}

// Whether the last name of a path text has a source extension, by the same
// test as the scan's.
bool names_source_file(std::string_view text) {
  const size_t separator = text.find_last_of("\\/");
  wide_path name;
  if (!append_wide(name, separator == std::string_view::npos ? text : text.substr(separator + 1))) return false;
  return is_source_extension(path_extension(name));
}

// Removes the path elements among the children of section for which remove
// says so; returns how many.
template <typename Remove>
size_t remove_paths(pugi::xml_node section, Remove remove) {
  size_t removed = 0;
  for (pugi::xml_node child = section.first_child(); child;) {
    const pugi::xml_node next = child.next_sibling();
    if (child.type() == pugi::node_element && std::string_view(child.name()) == "path" &&
        remove(child, std::string_view(child.child_value()))) {
      section.remove_child(child);
      ++removed;
    }
    child = next;
  }
  return removed;
}

bool holds_element(pugi::xml_node node) {
  for (pugi::xml_node child : node.children()) {
    if (child.type() == pugi::node_element) return true;
  }
  return false;
}

// Whether a path element lists one of this run's source files. The fill
// knows the elements that list them where they belong; any other element's
// text is looked for among all of them, which is rarely needed.
class source_listing {
 public:
  source_listing(const connection_entries& entries, const std::vector<pugi::xml_node>& listing) : entries_(entries) {
    // The nodes' own addresses sort without a call per comparison.
    listing_.reserve(listing.size());
    for (pugi::xml_node node : listing) listing_.push_back(node.internal_object());
    std::sort(listing_.begin(), listing_.end());
  }
  bool lists_source(pugi::xml_node path, std::string_view text) {
    if (std::binary_search(listing_.begin(), listing_.end(), path.internal_object())) return true;
    if (!texts_) {
      std::vector<std::string_view> sources;
      sources.reserve(entries_.sources.size());
      for (const connection_entries::source& source : entries_.sources) sources.push_back(source.path_text);
      texts_.emplace(sources);
    }
    return texts_->contains(text);
  }

 private:
  const connection_entries& entries_;
  std::vector<const pugi::xml_node_struct*> listing_;
  std::optional<run_texts> texts_;
};

}  // namespace

void prune_connection_document(connection_sections& sections, const connection_entries& entries,
                               std::string_view folder, const std::vector<pugi::xml_node>& listing, change_log& log) {
  const run_texts include_texts(entries.include_paths);
  source_listing sources(entries, listing);

  // Include directories; one that both sections lose counts once.
  std::unordered_set<std::string, path_text_hasher, path_text_equal> removed_includes;
  for (const auto& [include_section, include_place] :
       {std::pair(sections.include_path, change_place::include_path),
        std::pair(sections.asm_include_path, change_place::asm_include_path)}) {
    const change_place place = include_place;
    remove_paths(include_section, [&](pugi::xml_node, std::string_view text) {
      if (!is_path_within_folder(text, folder) || include_texts.contains(text)) return false;
      removed_includes.emplace(text);
      note_change(log, false, place, {}, text);
      return true;
    });
  }
  log.counts.removed_include_directories += removed_includes.size();

  // Source files directly in files and in the groups directly under it.
  const auto remove_source_files = [&](pugi::xml_node section, change_place place, std::string_view group) {
    return remove_paths(section, [&](pugi::xml_node path, std::string_view text) {
      if (!is_path_within_folder(text, folder) || sources.lists_source(path, text) || !names_source_file(text)) {
        return false;
      }
      note_change(log, false, place, group, text);
      return true;
    });
  };
  log.counts.removed_files += remove_source_files(sections.files, change_place::files, {});
  for (pugi::xml_node group : sections.files.children("group")) {
    if (const size_t removed = remove_source_files(group, change_place::group, group.attribute("name").value())) {
      log.counts.removed_files += removed;
      ++log.counts.groups_with_removed_files;
    }
  }

  // Groups of the folder that are left empty.
  for (pugi::xml_node group = sections.files.child("group"); group;) {
    const pugi::xml_node next = group.next_sibling("group");
    const std::string_view name = group.attribute("name").value();
    if (is_within_folder(name, folder) && !holds_element(group)) {
      note_change(log, false, change_place::group, name, {});
      ++log.counts.removed_groups;
      sections.files.remove_child(group);
    }
    group = next;
  }
}

}  // namespace addfolder
