#include "connection_prune.h"

#include <algorithm>
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

// Whether every name of a relative text is one that the program writes:
// none empty, "." or "..", with either separator.
bool has_plain_names(std::string_view relative) {
  // One pass over the bytes: the prune asks this of every text in the folder.
  size_t start = 0;
  for (size_t end = 0; end <= relative.size(); ++end) {
    if (end < relative.size() && !is_separator_byte(relative[end])) continue;
    const std::string_view name = relative.substr(start, end - start);
    if (name.empty() || name == "." || name == "..") return false;
    start = end + 1;
  }
  return true;
}

// Where the first names of a text end, as many as given: at the separator
// after them, or at the end.
size_t end_of_names(std::string_view text, size_t names) {
  size_t end = 0;
  for (; end < text.size(); ++end) {
    if (is_separator_byte(text[end]) && --names == 0) break;
  }
  return end;
}

// Whether a relative text lies within the folder as the program itself
// could have written it: the folder, or the folder and plain names below it.
// Below the working directory (".") lies every text of plain names. The
// folder's names are compared as a whole, since where letter case does not
// count a letter may take other bytes in the other case; no letter is a
// separator in either case.
bool is_within_folder(std::string_view relative, std::string_view folder) {
  if (folder == ".") return relative == "." || has_plain_names(relative);
  const auto separators = std::count_if(folder.begin(), folder.end(), is_separator_byte);
  const size_t end = end_of_names(relative, 1 + static_cast<size_t>(separators));
  if (!same_path_text(relative.substr(0, end), folder)) return false;
  return end == relative.size() || has_plain_names(relative.substr(end + 1));
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
size_t remove_paths(connection_index& index, pugi::xml_node section, Remove remove) {
  size_t removed = 0;
  for (pugi::xml_node child = section.first_child(); child;) {
    const pugi::xml_node next = child.next_sibling();
    if (child.type() == pugi::node_element && std::string_view(child.name()) == "path" &&
        remove(child, std::string_view(child.child_value()))) {
      remove_listed_child(index, child);
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

}  // namespace

void prune_connection_document(connection_sections& sections, const connection_entries& entries,
                               std::string_view folder, fill_result& filled, change_log& log) {
  connection_index& index = filled.index;
  // Include directories; one that both sections lose counts once.
  std::unordered_set<std::string, path_text_hasher, path_text_equal> removed_includes;
  for (const auto& [include_section, include_place] :
       {std::pair(sections.include_path, change_place::include_path),
        std::pair(sections.asm_include_path, change_place::asm_include_path)}) {
    const change_place place = include_place;
    remove_paths(index, include_section, [&](pugi::xml_node path, std::string_view text) {
      // Most elements list this run's entries, which the cheapest test tells.
      if (lists_run_entry(index, path) || !is_path_within_folder(text, folder) ||
          is_run_include_text(index, entries, text)) {
        return false;
      }
      removed_includes.emplace(text);
      note_change(log, false, place, {}, text);
      return true;
    });
  }
  log.counts.removed_include_directories += removed_includes.size();

  // Source files directly in files and in the groups directly under it.
  const auto remove_source_files = [&](pugi::xml_node section, change_place place, std::string_view group) {
    return remove_paths(index, section, [&](pugi::xml_node path, std::string_view text) {
      if (lists_run_entry(index, path) || !is_path_within_folder(text, folder) || !names_source_file(text) ||
          is_run_source_text(index, entries, text)) {
        return false;
      }
      note_change(log, false, place, group, text);
      return true;
    });
  };
  log.counts.removed_files += remove_source_files(sections.files, change_place::files, {});
  std::vector<pugi::xml_node> emptied;
  for (pugi::xml_node group : sections.files.children("group")) {
    if (const size_t removed = remove_source_files(group, change_place::group, group.attribute("name").value())) {
      log.counts.removed_files += removed;
      ++log.counts.groups_with_removed_files;
      if (!holds_element(group)) emptied.push_back(group);
    }
  }

  // Groups of the folder that this run left empty; an empty group that the
  // user made stays.
  for (pugi::xml_node group : emptied) {
    const std::string_view name = group.attribute("name").value();
    if (!is_within_folder(name, folder)) continue;
    note_change(log, false, change_place::group, name, {});
    ++log.counts.removed_groups;
    remove_listed_child(index, group);
  }
}

}  // namespace addfolder
