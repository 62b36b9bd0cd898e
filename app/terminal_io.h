// Standard input and output of the terminal program, as wide text.
#pragma once

#include "wide_text.h"

namespace addfolder {

// Writes text to standard output and flushes it.
void write_output(wide_text_view text);

// Writes text and a line end to standard error.
void write_error_line(wide_text_view text);

// Reads one line from standard input without its trailing CR/LF; false at the
// end of input.
bool read_input_line(wide_text& line);

}  // namespace addfolder
