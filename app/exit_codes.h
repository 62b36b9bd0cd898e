// The exit codes of the program.
#pragma once

namespace addfolder {

// The run completed, or the user cancelled.
inline constexpr int exit_success = 0;
// A check found changes to make: the project is not in sync with its folder.
inline constexpr int exit_out_of_sync = 1;
// The run failed; the message says why.
inline constexpr int exit_failure = -1;
// The command line could not be split or read: too few arguments, an
// unknown option, an option without its value, a folder or file that is not there.
inline constexpr int exit_command_line_error = 10;
// Ctrl-C or a signal stopped the run at a safe point; nothing half written
// is left. The shells' code for a program ended by SIGINT.
inline constexpr int exit_interrupted = 130;

}  // namespace addfolder
