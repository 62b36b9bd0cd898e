#include "folder_scope.h"

#include <algorithm>

#include "path_text_match.h"
#include "text_conversion.h"

namespace addfolder {

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

namespace {

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
// The folder's names are compared as a whole, since where letter case does
// not count a letter may take other bytes in the other case; no letter is a
// separator in either case.
bool is_within_folder(std::string_view relative, std::string_view folder) {
  if (folder == ".") return relative == "." || has_plain_names(relative);
  const auto separators = std::count_if(folder.begin(), folder.end(), is_separator_byte);
  const size_t end = end_of_names(relative, 1 + static_cast<size_t>(separators));
  if (!same_path_text(relative.substr(0, end), folder)) return false;
  return end == relative.size() || has_plain_names(relative.substr(end + 1));
}

// The length of the macro and separator that a text begins with, such as
// "$SDK$\"; 0 where it begins with none.
size_t macro_length(std::string_view text) {
  if (text.empty() || text[0] != '$') return 0;
  const size_t end = text.find('$', 1);
  if (end == std::string_view::npos || end + 1 >= text.size() || !is_separator_byte(text[end + 1])) return 0;
  return end + 2;
}

bool is_within_form(const folder_scope& scope, std::string_view macro, std::string_view relative) {
  for (const folder_scope::form& form : scope.forms) {
    if (same_path_text(macro, form.macro) && is_within_folder(relative, form.relative)) return true;
  }
  return false;
}

size_t count_names(std::string_view relative) {
  return 1 + static_cast<size_t>(std::count_if(relative.begin(), relative.end(), is_separator_byte));
}

// The most names of a form's folder, "." aside: a text's relative part that
// is followed by one more name decides for every form what the text's own
// relative part would when it holds at least as many.
size_t most_form_names(const folder_scope& scope) {
  size_t most = 0;
  for (const folder_scope::form& form : scope.forms) {
    if (form.relative != ".") most = std::max(most, count_names(form.relative));
  }
  return most;
}

// Whether the texts below a folder text lie within the scope, their last
// name aside. Below the project directory's own form, the folder text must
// itself be plain names: "." as a folder is no name that the program writes.
bool folder_lies_within(const folder_scope& scope, std::string_view macro, std::string_view folder_relative) {
  return std::any_of(scope.forms.begin(), scope.forms.end(), [&](const folder_scope::form& form) {
    if (!same_path_text(macro, form.macro)) return false;
    if (form.relative == ".") return has_plain_names(folder_relative);
    return is_within_folder(folder_relative, form.relative);
  });
}

}  // namespace

folder_scope project_folder_scope(std::string_view relative) {
  return folder_scope{{{std::string(project_directory_macro), std::string(relative)}}};
}

folder_scope scope_of_folder(const folder_forms& folder, const text_roots& roots) {
  folder_scope scope{{{roots[folder.root].macro, to_narrow(folder.relative)}}};
  for (std::uint32_t i = project_root + 1; i < roots.size(); ++i) {
    const wide_path& base = roots[i].directory;
    if (i != folder.root && lies_at_or_below(base, folder.canonical) && !lies_at_or_below(folder.canonical, base)) {
      scope.forms.push_back({roots[i].macro, "."});
    }
  }
  return scope;
}

bool is_text_within(const folder_scope& scope, std::string_view path_text) {
  const size_t length = macro_length(path_text);
  return length != 0 && is_within_form(scope, path_text.substr(0, length), path_text.substr(length));
}

bool is_group_within(const folder_scope& scope, std::string_view group_name) {
  const size_t length = macro_length(group_name);
  if (length == 0) return is_within_form(scope, project_directory_macro, group_name);
  // The program names no group after the project directory's macro.
  const std::string_view macro = group_name.substr(0, length);
  return !same_path_text(macro, project_directory_macro) && is_within_form(scope, macro, group_name.substr(length));
}

bool is_single_plain_name(std::string_view name) {
  return std::none_of(name.begin(), name.end(), is_separator_byte) && has_plain_names(name);
}

within_test::within_test(const folder_scope& scope) : scope_(scope), most_form_names_(most_form_names(scope)) {}

bool within_test::operator()(std::string_view path_text) {
  if (!outside_.empty() && path_text.substr(0, outside_.size()) == outside_) return false;
  const size_t macro = macro_length(path_text);
  size_t last = path_text.size();
  while (last > macro && !is_separator_byte(path_text[last - 1])) --last;
  // The text's relative part holds no separator: nothing to remember.
  if (macro == 0 || last == macro) return is_text_within(scope_, path_text);
  --last;
  const std::string_view folder_text = path_text.substr(0, last);
  if (!remembered_ || folder_text != folder_text_) {
    const std::string_view folder_relative = folder_text.substr(macro);
    if (count_names(folder_relative) < most_form_names_) {
      remembered_ = false;
      return is_text_within(scope_, path_text);
    }
    folder_text_.assign(folder_text);
    folder_within_ = folder_lies_within(scope_, folder_text.substr(0, macro), folder_relative);
    remembered_ = true;
    if (!folder_within_) outside_.assign(path_text.substr(0, last + 1));
  }
  return folder_within_ && has_plain_names(path_text.substr(last + 1));
}

std::optional<bool> within_test::after_prefix(std::string_view prefix) {
  // A folder outside the scope has nothing within below it either.
  if (!outside_.empty() && prefix.substr(0, outside_.size()) == outside_) return false;
  const size_t macro = macro_length(prefix);
  if (macro == 0 || macro >= prefix.size() || !is_separator_byte(prefix.back())) return std::nullopt;
  const std::string_view folder_relative = prefix.substr(macro, prefix.size() - 1 - macro);
  if (count_names(folder_relative) < most_form_names_) return std::nullopt;
  const bool within = folder_lies_within(scope_, prefix.substr(0, macro), folder_relative);
  if (!within) outside_.assign(prefix);
  return within;
}

}  // namespace addfolder
