// The terminal program on Linux and macOS.
#include <csignal>
#include <string_view>
#include <vector>

#include "terminal_front_end.h"
#include "text_conversion.h"

int main(int argc, char** argv) {
  // A write past the file size limit must fail with EFBIG, as a full disk
  // does, so that the save cleans up and the old files are put back; the
  // signal's default action would kill the program half way instead.
  std::signal(SIGXFSZ, SIG_IGN);
  std::vector<addfolder::wide_text> argument_list;
  for (int i = 0; i < argc; ++i) {
    addfolder::wide_text argument;
    const std::string_view bytes(argv[i]);
    if (!addfolder::append_wide(argument, bytes)) {
      // Not UTF-8: keep the bytes as Latin-1 so the error names them.
      for (char byte : bytes) argument += static_cast<char16_t>(static_cast<unsigned char>(byte));
    }
    argument_list.push_back(std::move(argument));
  }
  return addfolder::run_terminal(argument_list);
}
