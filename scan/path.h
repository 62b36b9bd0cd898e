// The lexical path model: Windows path syntax on every host.
//
// A wide path is UTF-16 text. "\" and "/" both separate elements; every path
// this module produces uses "\". A root name is a drive ("C:") or a network
// server ("\\server"); the root directory is the run of separators after it.
// Nothing here touches the file system, so the same rules hold on Linux.
#pragma once

#include <compare>
#include <string>
#include <string_view>
#include <vector>

#include "wide_text.h"

namespace addfolder {

// A path as UTF-16 text, and a view of one.
using wide_path = wide_text;
using wide_view = wide_text_view;

// The separator that every produced path uses.
inline constexpr char16_t preferred_separator = u'\\';

// True for "\" and "/".
constexpr bool is_separator(char16_t c) { return c == u'\\' || c == u'/'; }

// The root name: "C:", "\\server", or empty.
wide_view root_name(wide_view path);

// The separators right after the root name (may be empty).
wide_view root_directory(wide_view path);

// True when the path has both a root name and a root directory.
bool is_absolute(wide_view path);

// The path without its root name and the separators after it.
wide_view rootless_form(wide_view path);

// The path without its last name and the separators before that name; the root stays.
wide_view parent_path(wide_view path);

// The last element: the text after the last separator of the rootless form.
wide_view file_name(wide_view path);

// The elements of a path: root name, root directory (as one "\"), then every
// name; a trailing separator adds a final empty element.
std::vector<wide_view> path_elements(wide_view path);

// The path order: root names by code unit, then root directory presence, then
// the rest with a separator below every other code unit and runs of
// separators counting as one.
std::strong_ordering compare_paths(wide_view left, wide_view right);

// A byte string whose byte order is the path order, for sorting many paths
// at the cost of one pass each: code units big-endian, every run of
// separators a zero code unit.
std::string path_order_key(wide_view path);

// Separators made "\", runs made one, dot elements removed, "name\.." pairs
// removed, dot-dot right after a root directory removed; empty becomes ".".
wide_path lexically_normal(wide_view path);

// The path that leads from base to path by names alone, or empty when there is none.
wide_path lexically_relative(wide_view path, wide_view base);

// Appends one element with a "\" between, as the path model joins elements.
void append_element(wide_path& path, wide_view element);

// The path with every "/" made "\".
wide_path with_preferred_separators(wide_view path);

}  // namespace addfolder
