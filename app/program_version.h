// The program's name and version, which the --version option shows.
#pragma once

#include <string>

namespace addfolder {

// The program's name and version, such as "addfolder 1.0.0".
std::u16string version_text();

}  // namespace addfolder
