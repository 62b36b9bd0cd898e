// The exclusions that a command line names: its patterns, and the files
// that hold more of them.
#pragma once

#include "command_line.h"
#include "exclusion_rules.h"
#include "run_outcome.h"

namespace addfolder {

// Reads every --exclude-from file and compiles every pattern into rules. A
// failure with exit_command_line_error and the message for the user for a
// file that cannot be read, is too large or is no text, and for a pattern
// that names nothing or is too long.
run_outcome read_exclusions(const command_line& line, exclusion_rules& rules);

}  // namespace addfolder
