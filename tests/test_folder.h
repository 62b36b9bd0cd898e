// Real folders for tests: a fresh temporary folder, files in it, and the
// working directory set to a folder for the length of a test.
#pragma once

#include <filesystem>
#include <set>
#include <string>

#include "path.h"

namespace addfolder::test_support {

// A new empty folder under the system's temporary folder, removed with its
// contents when the test ends.
class test_folder {
 public:
  test_folder();
  ~test_folder();
  test_folder(const test_folder&) = delete;
  test_folder& operator=(const test_folder&) = delete;

  // The folder's path.
  const std::filesystem::path& path() const { return path_; }
  // A path below the folder, from a relative text with "/" separators.
  std::filesystem::path operator/(const char* relative) const;
  // A path below the folder.
  std::filesystem::path operator/(const std::filesystem::path& relative) const { return path_ / relative; }

 private:
  std::filesystem::path path_;
};

// Sets the working directory until the end of the scope.
class working_directory {
 public:
  explicit working_directory(const std::filesystem::path& directory);
  ~working_directory();
  working_directory(const working_directory&) = delete;
  working_directory& operator=(const working_directory&) = delete;

 private:
  std::filesystem::path previous_;
};

// Creates a file with the given bytes, and the folders above it.
void write_file(const std::filesystem::path& file, std::string_view bytes = {});

// The whole content of a file; empty when it cannot be read.
std::string read_file(const std::filesystem::path& file);

// The names in a folder (UTF-8), to see that nothing was left behind.
std::set<std::string> names_in(const std::filesystem::path& folder);

// A wide path with "\" separators for a file-system path.
wide_path to_wide_path(const std::filesystem::path& path);

// A file-system path for a UTF-8 text.
std::filesystem::path from_utf8(std::string_view text);

// True when the test runs as a Windows program (natively or under Wine).
constexpr bool on_windows() {
#ifdef _WIN32
  return true;
#else
  return false;
#endif
}

}  // namespace addfolder::test_support
