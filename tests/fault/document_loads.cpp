// Tells whether files load by the program's load convention, for the fault
// tests' checks that a file is whole.
//
//   addfolder-document-loads FILE...    exit 0 when every file loads
#include <cstdio>

#include <pugixml.hpp>

#include "xml_document.h"
#include "tests/test_folder.h"

int main(int argc, char** argv) {
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    pugi::xml_document document;
    const auto file = addfolder::test_support::from_utf8(argv[i]);
    if (addfolder::load_document(document, addfolder::test_support::to_wide_path(file))) {
      std::fprintf(stderr, "does not load: %s\n", argv[i]);
      status = 1;
    }
  }
  return status;
}
