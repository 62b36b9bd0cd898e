#include <unistd.h>

#include <iostream>
#include <string>

#include "terminal_io.h"
#include "text_conversion.h"

namespace addfolder {

// The terminal speaks UTF-8.
void write_output(wide_text_view text) { std::cout << to_shown_utf8(text) << std::flush; }

void write_error_line(wide_text_view text) { std::cerr << to_shown_utf8(text) << std::endl; }

void write_error_text(wide_text_view text) { std::cerr << to_shown_utf8(text) << std::flush; }

bool error_is_terminal() { return isatty(STDERR_FILENO) != 0; }

bool read_input_line(wide_text& line) {
  std::string narrow;
  if (!std::getline(std::cin, narrow)) return false;
  while (!narrow.empty() && (narrow.back() == '\r' || narrow.back() == '\n')) narrow.pop_back();
  line = from_typed_text(narrow);
  return true;
}

}  // namespace addfolder
