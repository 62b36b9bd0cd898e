// The program's name and version, which the --version option shows.
#pragma once

#include <string>
#include <vector>

#include "scan/path.h"

namespace addfolder {

// The option that asks for the version instead of a run.
inline constexpr std::u16string_view version_option = u"--version";

// The program's name and version, such as "addfolder 1.0.0".
std::u16string version_text();

// True when any argument after the program itself (element 0) is the version option.
bool asks_for_version(const std::vector<wide_path>& argument_list);

}  // namespace addfolder
