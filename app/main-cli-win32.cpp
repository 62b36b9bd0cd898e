// The terminal program on Windows, for scripts and CI.
#include <vector>

#include "command_line.h"
#include "exit_codes.h"
#include "messages.h"
#include "terminal_front_end.h"
#include "terminal_io.h"

int wmain() {
  std::vector<addfolder::wide_text> argument_list;
  if (!addfolder::split_process_command_line(argument_list)) {
    addfolder::write_error_line(std::u16string(addfolder::error_line_prefix) +
                                std::u16string(addfolder::unable_to_parse_command_line));
    return addfolder::exit_command_line_error;
  }
  return addfolder::run_terminal(argument_list);
}
