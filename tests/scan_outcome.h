// Runs the scans every way the program can, checks that they agree, and
// describes what they found as text that tests compare.
#pragma once

#include <string>
#include <vector>

#include "path.h"

namespace addfolder::test_support {

// What the scans of one root gave.
struct scan_outcome {
  // Source file paths, in walk order.
  std::vector<wide_path> sources;
  // Source file paths that the listing reported as links.
  std::vector<wide_path> linked_sources;
  // Header directories, in list order.
  std::vector<wide_path> headers;
  // Everything written to the error stream.
  std::string errors;
};

// The program's walk, on 1, 2 and 8 threads, and the two plain scans of the
// reference model; adds a test failure where the walk does not find what the
// two scans find, or reports otherwise. Returns what the plain scans found.
scan_outcome scan_every_way(const wide_path& scan_root);

// One line per source ("source ..."), header ("header ...") and linked
// source ("link ..."), in UTF-8, then the error text.
std::string describe(const scan_outcome& outcome);

}  // namespace addfolder::test_support
