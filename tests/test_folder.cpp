#include "tests/test_folder.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>

#include "text_conversion.h"

namespace addfolder::test_support {

test_folder::test_folder() {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const auto base = std::filesystem::temp_directory_path();
  path_ = base / ("addfolder-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(path_);
  path_ = std::filesystem::canonical(path_);
}

test_folder::~test_folder() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path test_folder::operator/(const char* relative) const { return path_ / from_utf8(relative); }

working_directory::working_directory(const std::filesystem::path& directory)
    : previous_(std::filesystem::current_path()) {
  std::filesystem::current_path(directory);
}

working_directory::~working_directory() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
}

void write_file(const std::filesystem::path& file, std::string_view bytes) {
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
  std::ofstream stream(file, std::ios::binary | std::ios::trunc);
  stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string read_file(const std::filesystem::path& file) {
  std::ifstream stream(file, std::ios::binary);
  std::ostringstream content;
  content << stream.rdbuf();
  return content.str();
}

std::set<std::string> names_in(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.insert(to_narrow(entry.path().filename().u16string()));
  return names;
}

wide_path to_wide_path(const std::filesystem::path& path) {
  return with_preferred_separators(path.u16string());
}

std::filesystem::path from_utf8(std::string_view text) {
  const wide_path wide = to_wide(text);
  return std::filesystem::path(wide);
}

}  // namespace addfolder::test_support
