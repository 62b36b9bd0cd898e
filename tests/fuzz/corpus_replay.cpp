// Runs a fuzz target over the files of its corpus, for builds without
// libFuzzer: every committed input is checked on every host.
//
//   replay FILE-OR-FOLDER...
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/test_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path given = addfolder::test_support::from_utf8(argv[i]);
    if (std::filesystem::is_directory(given)) {
      for (const auto& entry : std::filesystem::directory_iterator(given)) {
        if (entry.is_regular_file()) inputs.push_back(entry.path());
      }
    } else {
      inputs.push_back(given);
    }
  }
  if (inputs.empty()) {
    std::fprintf(stderr, "no inputs\n");
    return 2;
  }
  for (const std::filesystem::path& input : inputs) {
    // Named first, so that a broken property names its input.
    std::printf("%s\n", input.filename().string().c_str());
    std::fflush(stdout);
    const std::string bytes = addfolder::test_support::read_file(input);
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("%zu inputs hold every property\n", inputs.size());
  return 0;
}
