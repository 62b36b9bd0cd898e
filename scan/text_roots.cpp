#include "text_roots.h"

#include "file_name_match.h"
#include "relative_form.h"

namespace addfolder {
namespace {

// The elements of a path without the empty one that a trailing separator adds.
std::vector<wide_view> named_elements(wide_view path) {
  std::vector<wide_view> elements = path_elements(path);
  if (!elements.empty() && elements.back().empty()) elements.pop_back();
  return elements;
}

}  // namespace

std::string variable_macro(std::string_view name) { return "$" + std::string(name) + "$\\"; }

text_roots project_roots(const wide_path& project_directory) {
  return {text_root{std::string(project_directory_macro), project_directory}};
}

bool lies_at_or_below(wide_view path, wide_view directory) {
  const std::vector<wide_view> inner = named_elements(path);
  const std::vector<wide_view> outer = named_elements(directory);
  if (outer.empty() || outer.size() > inner.size()) return false;
  for (size_t i = 0; i < outer.size(); ++i) {
    if (!same_file_name(inner[i], outer[i], host_name_rule)) return false;
  }
  return true;
}

std::uint32_t root_of(const text_roots& roots, wide_view canonical) {
  std::uint32_t deepest = project_root;
  size_t deepest_depth = 0;
  for (std::uint32_t i = project_root + 1; i < roots.size(); ++i) {
    if (!lies_at_or_below(canonical, roots[i].directory)) continue;
    const size_t depth = named_elements(roots[i].directory).size();
    if (depth > deepest_depth) {
      deepest = i;
      deepest_depth = depth;
    }
  }
  return deepest;
}

std::uint32_t base_at(const text_roots& roots, wide_view canonical) {
  // Canonical forms spell one folder alike, and letter case keeps lengths.
  for (std::uint32_t i = project_root + 1; i < roots.size(); ++i) {
    const wide_path& directory = roots[i].directory;
    if (directory.size() == canonical.size() && same_file_name(directory, canonical, host_name_rule)) return i;
  }
  return project_root;
}

}  // namespace addfolder
