// Writes a vendor-style SDK tree of empty files for the benchmarks: nested
// folders with mixed case, digits, dots and dashes in their names, about 60%
// source files and 20% headers. The same seed gives the same tree.
//
//   addfolder-bench-tree DIR FILES [SEED]       make a new tree
//   addfolder-bench-tree --grow DIR PERCENT     add new source files to a tree
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char* const vendor_folders[] = {"Drivers",  "CMSIS",   "Middlewares", "hal",     "HAL_Driver", "BSP",
                                      "Inc",      "Src",     "Source",      "include", "lib",        "usb-host",
                                      "lwip-2.1", "FreeRTOS", "portable",   "GCC",     "IAR",        "ARM_CM4F",
                                      "net",      "crypto",  "mbedtls.3",   "Core",    "Device",     "ST",
                                      "Templates", "utils",  "third_party", "fatfs",   "Class",      "CDC"};
const char* const stems[] = {"gpio", "uart",  "spi",     "i2c",   "dma", "rcc",  "tim",   "adc",    "usb_core",
                             "eth",  "flash", "pwr",     "exti",  "can", "rtc",  "sdmmc", "crc32",  "aes-gcm",
                             "Task", "Queue", "heap_4",  "port",  "tcp", "ip4",  "dhcp",  "ff",     "diskio",
                             "Boot", "main",  "startup", "Board", "Led", "Sys",  "cfg",   "list",   "timers"};
const char* const source_extensions[] = {".c", ".c", ".c", ".c", ".cpp", ".s", ".cc", ".a"};
const char* const header_extensions[] = {".h", ".h", ".h", ".hpp"};
const char* const other_extensions[] = {".txt", ".md", ".ld", ".icf", ".html", ".C", ".S", ".o", ""};

std::string folder_name(std::mt19937& random) {
  std::string name = vendor_folders[random() % std::size(vendor_folders)];
  if (random() % 3 == 0) name += "_" + std::to_string(random() % 40);
  if (random() % 5 == 0) name += "-v" + std::to_string(random() % 9) + "." + std::to_string(random() % 9);
  return name;
}

std::string file_name(std::mt19937& random, unsigned serial) {
  std::string name = stems[random() % std::size(stems)];
  name += (random() % 2 == 0 ? "_" : "-") + std::to_string(serial);
  const unsigned kind = random() % 10;
  if (kind < 6) return name + source_extensions[random() % std::size(source_extensions)];
  if (kind < 8) return name + header_extensions[random() % std::size(header_extensions)];
  return name + other_extensions[random() % std::size(other_extensions)];
}

void touch(const fs::path& file) { std::ofstream(file, std::ios::binary); }

int make_tree(const fs::path& root, unsigned files, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<fs::path> folders{root};
  fs::create_directories(root);
  // About twelve files a folder, folders up to eight deep.
  for (unsigned serial = 0; serial < files; ++serial) {
    if (serial % 12 == 0) {
      fs::path parent = folders[random() % folders.size()];
      if (std::distance(root.begin(), root.end()) + 8 < std::distance(parent.begin(), parent.end())) parent = root;
      fs::path folder = parent / folder_name(random);
      fs::create_directories(folder);
      folders.push_back(folder);
    }
    touch(folders[folders.size() - 1 - random() % std::min<size_t>(folders.size(), 6)] / file_name(random, serial));
  }
  return 0;
}

int grow_tree(const fs::path& root, unsigned percent) {
  std::vector<fs::path> folders;
  unsigned files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_directory()) folders.push_back(entry.path());
    else ++files;
  }
  if (folders.empty()) folders.push_back(root);
  std::mt19937 random(files);
  const unsigned added = files * percent / 100;
  for (unsigned i = 0; i < added; ++i) {
    touch(folders[random() % folders.size()] / ("added_" + std::to_string(files + i) + ".c"));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 4 && std::string(argv[1]) == "--grow") return grow_tree(argv[2], std::stoul(argv[3]));
    if (argc == 3 || argc == 4) return make_tree(argv[1], std::stoul(argv[2]), argc == 4 ? std::stoul(argv[3]) : 1);
  } catch (const std::exception& error) {
    std::cerr << error.what() << '\n';
    return 1;
  }
  std::cerr << "usage: addfolder-bench-tree DIR FILES [SEED] | --grow DIR PERCENT\n";
  return 2;
}
