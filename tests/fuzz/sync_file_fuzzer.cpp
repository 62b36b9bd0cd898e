// Arbitrary bytes as the sync file. Whatever they are, the reader either
// refuses them with a message that has a place in the text, or reads folders
// that each have a path, name distinct folders and hold only patterns that
// the exclusion rules take. --save's edit leaves the bytes of a file as they
// were, adds one table that reads back as the folder it was given, and
// refuses to add the same folder twice.
#include <cstdint>
#include <optional>
#include <string>

#include "sync_file.h"
#include "sync_file_edit.h"
#include "user_pattern.h"
#include "tests/fuzz/document_properties.h"

namespace addfolder {
namespace {

using fuzz_support::require;

constexpr std::u16string_view file = u"blinky.addfolder.toml";

// A folder whose every value needs care in TOML: separators, quotes, a
// control character.
const sync_folder saved{u"fuzz\\saved folder", {u"gcc\\", u"it's", u"*_template.c"}, u"a'b\x01.exclude", true, 0, {}};

bool same_values(const sync_folder& read, const sync_folder& given) {
  return read.path == u"fuzz/saved folder" && read.exclude == given.exclude &&
         read.exclude_from == given.exclude_from && read.prune == given.prune;
}

void require_valid_patterns(const std::vector<wide_text>& patterns) {
  exclusion_rules rules;
  for (const wide_text& pattern : patterns) require(add_user_pattern(rules, pattern), "an invalid pattern was taken");
}

void check_read(const sync_file& parsed) {
  require_valid_patterns(parsed.exclude);
  for (const sync_folder& folder : parsed.folders) {
    require(!folder.path.empty() && !holds_impossible_character(folder.path) && folder.line >= 1,
            "a folder has no path, or no line");
    require(find_sync_folder(parsed, folder.path) == &folder, "two tables name the same folder");
    require_valid_patterns(folder.exclude);
  }
}

void check_save(std::string_view bytes, bool valid, const sync_file& parsed) {
  std::string text;
  sync_file_error error;
  const bool appended = append_sync_folder(bytes, file, u"blinky.ipcf", saved, text, error);
  if (!valid || find_sync_folder(parsed, saved.path)) {
    require(!appended && text.empty(), "a table was added to a file that is invalid or names the folder");
    return;
  }
  if (!appended) {
    require(error.line == 0 && !error.message.empty(), "a refused addition has no message");
    return;
  }
  require(text.compare(0, bytes.size(), bytes) == 0, "the user's text was changed");
  sync_file after;
  require(parse_sync_file(text, file, after, error), "the new text is no valid sync file");
  require(after.exclude == parsed.exclude && after.folders.size() == parsed.folders.size() + 1,
          "the new text does not hold exactly one more folder");
  require(same_values(after.folders.back(), saved), "the new table does not read back as the folder");
  std::string again;
  require(!append_sync_folder(text, file, u"blinky.ipcf", saved, again, error), "the folder was added twice");
}

}  // namespace
}  // namespace addfolder

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace addfolder;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  sync_file parsed;
  sync_file_error error;
  const bool valid = parse_sync_file(bytes, file, parsed, error);
  if (valid) {
    check_read(parsed);
  } else {
    fuzz_support::require(error.line >= 1 && error.column >= 1 && !error.message.empty() && parsed.folders.empty(),
                          "a refusal has no place or no message");
  }
  check_save(bytes, valid, parsed);
  return 0;
}
