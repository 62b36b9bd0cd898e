#include <unistd.h>

#include <iostream>
#include <string>

#include "terminal_io.h"
#include "text_conversion.h"

namespace addfolder {
namespace {

// The terminal speaks UTF-8; a lone surrogate, which no file name on this host
// can hold, is written as U+FFFD so that the message still reaches the user.
std::string terminal_text(wide_text_view text) {
  std::string narrow;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF && text[i + 1] >= 0xDC00 &&
                      text[i + 1] <= 0xDFFF;
    if (!append_narrow(narrow, text.substr(i, pair ? 2 : 1))) narrow += "\xEF\xBF\xBD";
    if (pair) ++i;
  }
  return narrow;
}

}  // namespace

void write_output(wide_text_view text) { std::cout << terminal_text(text) << std::flush; }

void write_error_line(wide_text_view text) { std::cerr << terminal_text(text) << std::endl; }

void write_error_text(wide_text_view text) { std::cerr << terminal_text(text) << std::flush; }

bool error_is_terminal() { return isatty(STDERR_FILENO) != 0; }

bool read_input_line(wide_text& line) {
  std::string narrow;
  if (!std::getline(std::cin, narrow)) return false;
  while (!narrow.empty() && (narrow.back() == '\r' || narrow.back() == '\n')) narrow.pop_back();
  line.clear();
  if (!append_wide(line, narrow)) {
    // Not UTF-8: keep the bytes visible as Latin-1 so that the error names them.
    for (char byte : narrow) line += static_cast<char16_t>(static_cast<unsigned char>(byte));
  }
  return true;
}

}  // namespace addfolder
