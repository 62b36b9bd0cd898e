// The terminal program on Linux and macOS.
#include <string_view>
#include <vector>

#include "app/terminal_front_end.h"
#include "scan/text_conversion.h"

int main(int argc, char** argv) {
  std::vector<addfolder::wide_path> argument_list;
  for (int i = 0; i < argc; ++i) {
    addfolder::wide_path argument;
    const std::string_view bytes(argv[i]);
    if (!addfolder::append_wide(argument, bytes)) {
      // Not UTF-8: keep the bytes as Latin-1 so the error names them.
      for (char byte : bytes) argument += static_cast<char16_t>(static_cast<unsigned char>(byte));
    }
    argument_list.push_back(std::move(argument));
  }
  return addfolder::run_terminal(argument_list);
}
