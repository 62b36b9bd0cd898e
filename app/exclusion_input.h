// The exclusion patterns that a run is given: on the command line, in the
// files that hold more of them, and in the sync file.
#pragma once

#include <vector>

#include "command_line.h"
#include "exclusion_rules.h"
#include "run_outcome.h"

namespace addfolder {

// Appends the patterns of an exclusion file to patterns; shown is how
// messages name the file. A failure with exit_command_line_error and the
// message for the user for a file that cannot be read, is too large or is no
// text.
run_outcome read_exclusion_file(const wide_path& file, wide_view shown, std::vector<wide_text>& patterns);

// The patterns that a command line gives: its --exclude values, then those
// of each --exclude-from file, in order. Fails as read_exclusion_file does.
run_outcome read_command_line_patterns(const command_line& line, std::vector<wide_text>& patterns);

// Compiles patterns into rules. A failure with exit_command_line_error and
// the message for the user for a pattern that names nothing, is too long, or
// holds a character that no name holds.
run_outcome add_patterns(const std::vector<wide_text>& patterns, exclusion_rules& rules);

}  // namespace addfolder
