// The message that a failed system call shows the user.
#pragma once

#include <string>

#include "system_error.h"

namespace addfolder {

// Names the problem, the path concerned and the system's own words for it.
std::u16string failure_message(const system_error& error);

}  // namespace addfolder
