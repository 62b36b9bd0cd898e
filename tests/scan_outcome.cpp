#include "tests/scan_outcome.h"

#include <gtest/gtest.h>

#include <sstream>

#include "scan/source_scan.h"
#include "scan/text_conversion.h"

namespace addfolder::test_support {
namespace {

void collect_sources(const source_file_list& files, scan_outcome& outcome) {
  for (const source_file& file : files) {
    outcome.sources.push_back(file.path);
    if (file.is_link) outcome.linked_sources.push_back(file.path);
  }
}

}  // namespace

scan_outcome scan_every_way(const wide_path& scan_root) {
  scan_outcome separate;
  std::ostringstream separate_errors;
  collect_sources(scan_source_files(scan_root, separate_errors), separate);
  const header_directory_list headers = scan_header_directories(scan_root, separate_errors);
  separate.headers.assign(headers.begin(), headers.end());
  separate.errors = separate_errors.str();

  scan_outcome together;
  std::ostringstream together_errors;
  const scan_results results = scan_tree(scan_root, together_errors);
  collect_sources(results.sources, together);
  together.headers.assign(results.headers.begin(), results.headers.end());
  together.errors = together_errors.str();

  EXPECT_EQ(describe(together), describe(separate)) << "scan_tree and the two scans differ";
  return separate;
}

std::string describe(const scan_outcome& outcome) {
  std::string text;
  const auto lines = [&text](const char* label, const std::vector<wide_path>& paths) {
    for (const wide_path& path : paths) {
      text += label;
      append_narrow(text, path);
      text += '\n';
    }
  };
  lines("source ", outcome.sources);
  lines("link ", outcome.linked_sources);
  lines("header ", outcome.headers);
  return text + outcome.errors;
}

}  // namespace addfolder::test_support
