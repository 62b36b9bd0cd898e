// Standard input and output of the terminal program, as wide text.
#pragma once

#include "wide_text.h"

namespace addfolder {

// Writes text to standard output and flushes it.
void write_output(wide_text_view text);

// Writes text and a line end to standard error.
void write_error_line(wide_text_view text);

// Writes text to standard error without a line end, and flushes it.
void write_error_text(wide_text_view text);

// True when standard error is a terminal (a console on Windows).
bool error_is_terminal();

// Reads one line from standard input without its trailing CR/LF; false at the
// end of input.
bool read_input_line(wide_text& line);

}  // namespace addfolder
