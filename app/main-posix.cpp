// The terminal program on Linux and macOS.
#include <csignal>
#include <vector>

#include "terminal_front_end.h"
#include "text_conversion.h"

int main(int argc, char** argv) {
  // A write past the file size limit must fail with EFBIG, as a full disk
  // does, so that the save cleans up and the old files are put back; the
  // signal's default action would kill the program half way instead.
  std::signal(SIGXFSZ, SIG_IGN);
  std::vector<addfolder::wide_text> argument_list;
  // An argument that is not UTF-8 still reaches the error that names it.
  for (int i = 0; i < argc; ++i) argument_list.push_back(addfolder::from_typed_text(argv[i]));
  return addfolder::run_terminal(argument_list);
}
