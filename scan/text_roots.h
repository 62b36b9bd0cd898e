// The folders that path texts begin with: the project directory, which the
// IDE names $PROJ_DIR$, and the folders that the user names by custom
// argument variables of the IDE, such as $SDK$. A path at or below such a
// base is named from the deepest base that holds it, so that its texts stay
// right when the project or the base moves.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "path.h"

namespace addfolder {

// A folder that path texts name by a macro.
struct text_root {
  // The macro and the separator after it, in narrow text: "$PROJ_DIR$\" or "$NAME$\".
  std::string macro;
  // Absolute and weakly canonical.
  wide_path directory;
};

// The roots of one run: the project directory first, then the bases in the
// order that the user gave them.
using text_roots = std::vector<text_root>;

// The index of the project directory among the roots.
inline constexpr std::uint32_t project_root = 0;

// The macro of a custom argument variable: "$", the name, "$\".
std::string variable_macro(std::string_view name);

// The roots with the project directory alone, which must be weakly canonical.
text_roots project_roots(const wide_path& project_directory);

// True when path is directory or lies below it, names compared as the
// host's file system compares them; both absolute and weakly canonical.
bool lies_at_or_below(wide_view path, wide_view directory);

// The root that names a weakly canonical path: the deepest base that holds
// it (of equally deep ones the first given), else the project directory.
std::uint32_t root_of(const text_roots& roots, wide_view canonical);

// The base whose directory is the weakly canonical path itself, else the
// project directory.
std::uint32_t base_at(const text_roots& roots, wide_view canonical);

}  // namespace addfolder
