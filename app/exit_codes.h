// The exit codes of the program.
#pragma once

namespace addfolder {

// The run completed, or the user cancelled.
inline constexpr int exit_success = 0;
// The run failed; the message says why.
inline constexpr int exit_failure = -1;
// The command line could not be split, or has fewer than two arguments.
inline constexpr int exit_command_line_error = 10;

}  // namespace addfolder
