#include "connection_reference.h"

#include <vector>

#include "path_text_match.h"
#include "relative_form.h"
#include "text_conversion.h"

namespace addfolder {
namespace {

// The macro without the separator that follows it in the texts this program writes.
constexpr std::string_view macro = project_directory_macro.substr(0, project_directory_macro.size() - 1);
constexpr std::string_view connection_extension = ".ipcf";
constexpr wide_view wide_connection_extension = u".ipcf";

// The names of a path, without empty and "." ones.
std::vector<wide_view> significant_names(wide_view path) {
  std::vector<wide_view> names;
  for (const wide_view element : path_elements(path)) {
    if (!element.empty() && element != u"." && !(element.size() == 1 && is_separator(element[0]))) {
      names.push_back(element);
    }
  }
  return names;
}

// Whether two paths are the same under the rule, element by element.
bool same_path(wide_view left, wide_view right, name_rule rule) {
  if (!same_file_name(root_name(left), root_name(right), rule) ||
      root_directory(left).empty() != root_directory(right).empty()) {
    return false;
  }
  const std::vector<wide_view> left_names = significant_names(rootless_form(left));
  const std::vector<wide_view> right_names = significant_names(rootless_form(right));
  if (left_names.size() != right_names.size()) return false;
  for (size_t i = 0; i < left_names.size(); ++i) {
    if (!same_file_name(left_names[i], right_names[i], rule)) return false;
  }
  return true;
}

// Whether the last name of a text ends in ".ipcf", letter case aside: no
// other text can name a connection file, and most texts end otherwise.
bool may_name_connection_file(std::string_view text) {
  const size_t separator = text.find_last_of("\\/");
  wide_path name;
  if (!append_wide(name, separator == std::string_view::npos ? text : text.substr(separator + 1))) return false;
  return name.size() >= wide_connection_extension.size() &&
         same_file_name(wide_view(name).substr(name.size() - wide_connection_extension.size()),
                        wide_connection_extension, name_rule::ignoring_case);
}

// The path that text stands for, or empty where it names no file of the project.
wide_path path_of(std::string_view text, const wide_path& project_directory) {
  const bool behind_macro = text.starts_with(macro);
  if (behind_macro) {
    text.remove_prefix(macro.size());
    if (!text.empty() && !is_separator_byte(text.front())) return {};
  } else if (text.starts_with('$')) {
    return {};
  }
  wide_path rest;
  if (!append_wide(rest, text)) return {};
  if (!behind_macro && (!root_name(rest).empty() || !root_directory(rest).empty())) return rest;
  wide_path path = project_directory;
  append_element(path, rest);
  return path;
}

}  // namespace

std::string connection_reference(std::string_view narrow_project_name) {
  std::string reference(project_directory_macro);
  reference += narrow_project_name;
  reference += connection_extension;
  return reference;
}

bool names_connection_file(std::string_view text, const connection_file_names& names) {
  if (!may_name_connection_file(text)) return false;
  const wide_path path = path_of(text, names.project_directory);
  if (path.empty()) return false;
  wide_path connection_file = names.project_directory;
  append_element(connection_file, names.file_name);
  if (same_path(path, connection_file, names.names)) return true;
  file_stamp stamp;
  return names.stamp.exists && !query_file_stamp(path, stamp) && is_same_file(stamp, names.stamp);
}

}  // namespace addfolder
