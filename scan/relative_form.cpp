#include "scan/relative_form.h"

#include "scan/file_system.h"
#include "scan/system_error.h"
#include "scan/text_conversion.h"

namespace addfolder {
namespace {

bool is_strictly_below(wide_view path, wide_view root) {
  return !root.empty() && path.size() > root.size() + 1 && path.substr(0, root.size()) == root &&
         is_separator(path[root.size()]);
}

bool begins_with_dot_dot(wide_view relative) {
  return relative.substr(0, 2) == u".." && (relative.size() == 2 || is_separator(relative[2]));
}

// The relative form of parent\name, from the parent's forms.
wide_path relative_of(const walk_relative_forms& forms, const walk_relative_forms::resolved& parent, wide_view name) {
  if (parent.relative.empty()) return wide_path();
  if (parent.relative == u".") return wide_path(name);
  if (begins_with_dot_dot(parent.relative)) {
    // The entry may lead back towards the working directory; only the
    // lexical comparison knows.
    wide_path canonical = parent.canonical;
    append_element(canonical, name);
    return lexically_relative(canonical, forms.working_directory);
  }
  wide_path relative = parent.relative;
  append_element(relative, name);
  return relative;
}

walk_relative_forms::resolved& resolve_directory(walk_relative_forms& forms, const wide_path& directory) {
  if (auto found = forms.directories.find(directory); found != forms.directories.end()) return found->second;

  // Collect the unresolved ancestors below the scan root, nearest first.
  std::vector<wide_path> chain{directory};
  while (is_strictly_below(chain.back(), forms.scan_root)) {
    wide_path parent(parent_path(chain.back()));
    if (forms.directories.count(parent) != 0) break;
    chain.push_back(std::move(parent));
  }

  walk_relative_forms::resolved* resolved = nullptr;
  for (auto path = chain.rbegin(); path != chain.rend(); ++path) {
    walk_relative_forms::resolved forms_of_path;
    if (is_strictly_below(*path, forms.scan_root)) {
      const auto& parent = forms.directories.at(wide_path(parent_path(*path)));
      const wide_view name = file_name(*path);
      forms_of_path.canonical = parent.canonical;
      append_element(forms_of_path.canonical, name);
      forms_of_path.relative = relative_of(forms, parent, name);
    } else {
      forms_of_path.canonical = weakly_canonical(*path);
      forms_of_path.relative = lexically_relative(forms_of_path.canonical, forms.working_directory);
    }
    resolved = &forms.directories.emplace(*path, std::move(forms_of_path)).first->second;
  }
  return *resolved;
}

// The parent of an entry below the scan root, resolved.
walk_relative_forms::resolved& resolve_parent(walk_relative_forms& forms, const wide_path& entry) {
  const wide_view parent = parent_path(entry);
  if (forms.last_resolved == nullptr || parent != forms.last_directory) {
    forms.last_directory = parent;
    forms.last_resolved = &resolve_directory(forms, forms.last_directory);
  }
  return *forms.last_resolved;
}

}  // namespace

wide_path current_path() {
  wide_path directory;
  if (const int error = query_current_directory(directory); error != 0) throw system_error(error, "current_path()");
  return directory;
}

int canonical_form(const wide_path& path, wide_path& canonical) {
  if (path.empty()) {
    canonical.clear();
    return 0;
  }
  return query_final_path(path, canonical);
}

wide_path weakly_canonical(const wide_path& path) {
  wide_path canonical;
  int error = canonical_form(path, canonical);
  if (error == 0) return canonical;
  if (!is_not_found_error(error)) throw system_error(error, "weakly_canonical", path);

  const wide_path normal = lexically_normal(path);
  wide_path result = normal.substr(0, normal.size() - rootless_form(normal).size());
  const std::vector<wide_view> elements = path_elements(rootless_form(normal));
  bool resolving = true;
  for (wide_view name : elements) {
    wide_path candidate = result;
    append_element(candidate, name);
    if (resolving) {
      error = canonical_form(candidate, canonical);
      if (error == 0) {
        result = std::move(canonical);
        continue;
      }
      if (!is_not_found_error(error)) throw system_error(error, "weakly_canonical", path);
      resolving = false;
    }
    result = std::move(candidate);
  }
  return result;
}

wide_path relative_form(const wide_path& path) {
  const wide_path working_directory = weakly_canonical(current_path());
  return lexically_relative(weakly_canonical(path), working_directory);
}

std::string path_text(wide_view relative) {
  std::string text;
  text.reserve(project_directory_macro.size() + relative.size());
  text = project_directory_macro;
  if (!append_narrow(text, relative)) throw system_error(unconvertible_character_error());
  return text;
}

walk_relative_forms start_walk_relative_forms(wide_path scan_root) {
  walk_relative_forms forms;
  forms.scan_root = std::move(scan_root);
  forms.working_directory = weakly_canonical(current_path());
  return forms;
}

const wide_path& directory_relative_form(walk_relative_forms& forms, const wide_path& directory) {
  return resolve_directory(forms, directory).relative;
}

std::string entry_path_text(walk_relative_forms& forms, const wide_path& entry, bool is_link) {
  if (is_link || !is_strictly_below(entry, forms.scan_root)) return path_text(entry_relative_form(forms, entry, is_link));
  walk_relative_forms::resolved& parent = resolve_parent(forms, entry);
  // Only a parent at or below the working directory gives its entries its own
  // text and their names; for the others only the lexical comparison knows.
  if (parent.relative.empty() || begins_with_dot_dot(parent.relative)) {
    return path_text(relative_of(forms, parent, file_name(entry)));
  }
  if (!parent.has_entry_text_prefix) {
    parent.entry_text_prefix = parent.relative == u"." ? std::string(project_directory_macro) : path_text(parent.relative) + "\\";
    parent.has_entry_text_prefix = true;
  }
  const wide_view name = file_name(entry);
  std::string text;
  text.reserve(parent.entry_text_prefix.size() + name.size());
  text = parent.entry_text_prefix;
  if (!append_narrow(text, name)) throw system_error(unconvertible_character_error());
  return text;
}

wide_path entry_relative_form(walk_relative_forms& forms, const wide_path& entry, bool is_link) {
  if (is_link || !is_strictly_below(entry, forms.scan_root)) {
    return lexically_relative(weakly_canonical(entry), forms.working_directory);
  }
  return relative_of(forms, resolve_parent(forms, entry), file_name(entry));
}

}  // namespace addfolder
