// The exclusions that a command line names: its patterns, and the files
// that hold more of them.
#pragma once

#include "command_line.h"
#include "exclusion_rules.h"

namespace addfolder {

// Reads every --exclude-from file and compiles every pattern into rules.
// False, with the message for the user in error, for a file that cannot be
// read or is no text, and for a pattern that names nothing.
bool read_exclusions(const command_line& line, exclusion_rules& rules, wide_text& error);

}  // namespace addfolder
