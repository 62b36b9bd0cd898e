#include "relative_form.h"

#include "file_system.h"
#include "system_error.h"
#include "text_conversion.h"

namespace addfolder {
namespace {

bool begins_with_dot_dot(wide_view relative) {
  return relative.substr(0, 2) == u".." && (relative.size() == 2 || is_separator(relative[2]));
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

std::string path_text(wide_view relative, std::string_view macro) {
  std::string text;
  text.reserve(macro.size() + relative.size());
  text = macro;
  if (!append_narrow(text, relative)) throw system_error(unconvertible_character_error());
  return text;
}

folder_forms resolve_folder_forms(const wide_path& folder, const text_roots& roots) {
  folder_forms forms;
  forms.canonical = weakly_canonical(folder);
  forms.root = root_of(roots, forms.canonical);
  forms.relative = lexically_relative(forms.canonical, roots[forms.root].directory);
  return forms;
}

void derive_subfolder_forms(const folder_forms& parent, wide_view name, const text_roots& roots,
                            folder_forms& subfolder) {
  subfolder.canonical = parent.canonical;
  append_element(subfolder.canonical, name);
  subfolder.root = parent.root;
  // Below a base that it holds, a folder is named from the deeper base.
  if (roots.size() > 1) {
    if (const std::uint32_t base = base_at(roots, subfolder.canonical); base != project_root) {
      subfolder.root = base;
      subfolder.relative = u".";
      return;
    }
  }
  const wide_path& working_directory = roots[subfolder.root].directory;
  if (parent.relative.empty()) {
    subfolder.relative.clear();
  } else if (parent.relative == u".") {
    subfolder.relative = name;
  } else if (begins_with_dot_dot(parent.relative)) {
    // The subfolder may lie on the way back to the working directory; only
    // the lexical comparison knows.
    subfolder.relative = lexically_relative(subfolder.canonical, working_directory);
  } else {
    subfolder.relative = parent.relative;
    append_element(subfolder.relative, name);
  }
}

}  // namespace addfolder
