// The sync file: what the reader takes and what it refuses, and what --save
// makes of the user's text.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "file_name_match.h"
#include "sync_file.h"
#include "sync_file_edit.h"
#include "text_conversion.h"

namespace addfolder {
namespace {

constexpr std::u16string_view file = u"blinky.addfolder.toml";

std::string joined(const std::vector<wide_text>& texts) {
  std::string list;
  for (const wide_text& text : texts) list += (list.empty() ? "" : ", ") + to_narrow(text);
  return "[" + list + "]";
}

// What the reader makes of the bytes: the error's text, or one line of what it read.
std::string outcome(std::string_view bytes) {
  sync_file parsed;
  sync_file_error error;
  if (!parse_sync_file(bytes, file, parsed, error)) return to_narrow(sync_file_error_text(error));
  const auto layout = [](std::optional<group_layout> groups) {
    return !groups ? "" : *groups == group_layout::tree ? " groups tree" : " groups flat";
  };
  std::string read = "exclude " + joined(parsed.exclude) + layout(parsed.groups);
  for (const sync_base& base : parsed.bases) {
    read += " base " + to_narrow(base.base.name) + "=" + to_narrow(base.base.directory) + " (line " +
            std::to_string(base.line) + ")";
  }
  for (const sync_folder& folder : parsed.folders) {
    read += "; " + to_narrow(folder.path) + " (line " + std::to_string(folder.line) + ")";
    if (!folder.exclude.empty()) read += " exclude " + joined(folder.exclude);
    if (!folder.exclude_from.empty()) read += " from " + to_narrow(folder.exclude_from);
    if (folder.prune) read += " prune";
    read += layout(folder.groups);
  }
  return read;
}

struct reader_case {
  std::string bytes;
  std::string expected;
};

TEST(SyncFile, ReaderTakesGoodFilesAndNamesWhereBadOnesGoWrong) {
  const std::string prefix = "[[folder]]\npath = \"Drivers\"\n";
  const reader_case cases[] = {
      {"exclude = [\"*_template.c\"]  # for every folder\n\n" + prefix +
           "exclude = [\"gcc/\", 'arm\\']\nexclude_from = \"drivers.exclude\"\nprune = true\n\n"
           "[[folder]]\npath = \"Middlewares/Third_Party/FreeRTOS/Source\"\n",
       "exclude [*_template.c]; Drivers (line 4) exclude [gcc/, arm\\] from drivers.exclude prune; "
       "Middlewares/Third_Party/FreeRTOS/Source (line 10)"},
      {"", "exclude []"},
      {"groups = 'tree'\n[base]\nCUBE = '../ST/Cube'\nA_1 = 'C:\\SDK'\n" + prefix + "groups = 'flat'\n",
       "exclude [] groups tree base CUBE=../ST/Cube (line 3) base A_1=C:\\SDK (line 4); Drivers (line 6) groups flat"},
      {"groups = 'Tree'\n", "blinky.addfolder.toml:1:10: \"groups\" must be \"tree\" or \"flat\""},
      {"base = 'C:/SDK'\n", "blinky.addfolder.toml:1:8: \"base\" must be a table"},
      {"[base]\nSDK = 'a'\nproj_dir = 'b'\n", "blinky.addfolder.toml:3:1: Invalid argument variable: proj_dir"},
      {"[base]\n'my sdk' = 'a'\n", "blinky.addfolder.toml:2:1: Invalid argument variable: my sdk"},
      {"[base]\nSDK = 'a'\nsdk = 'b'\n", "blinky.addfolder.toml:3:1: The argument variable sdk is given twice."},
      {"[base]\nSDK = 1\n", "blinky.addfolder.toml:2:7: \"SDK\" must be a string"},
      {"\xEF\xBB\xBF[[folder]]\r\npath = 'Core\\Src'\r\nprune = false\r\n", "exclude []; Core\\Src (line 2)"},
      {"folder = [{ path = \"T\xC3\xA9" "ber\" }, { path = \"App\", exclude = [] }]",
       "exclude []; T\xC3\xA9" "ber (line 1); App (line 1)"},
      {"[[folder]]\npath = \"Drivers\"\n\n\n\n\nprun = true\n", "blinky.addfolder.toml:7:1: unknown key \"prun\""},
      {prefix + "prune = \"yes\"\n", "blinky.addfolder.toml:3:9: \"prune\" must be true or false"},
      {prefix + "exclude = \"gcc/\"\n", "blinky.addfolder.toml:3:11: \"exclude\" must be an array of strings"},
      {"exclude = [\"gcc/\", 1]\n", "blinky.addfolder.toml:1:20: \"exclude\" must be an array of strings"},
      {"[[folder]]\npath = 5\n", "blinky.addfolder.toml:2:8: \"path\" must be a string"},
      {"[folder]\npath = \"Drivers\"\n", "blinky.addfolder.toml:1:1: \"folder\" must be [[folder]] tables"},
      {prefix + "[[folder]]\nprune = true\n", "blinky.addfolder.toml:3:1: [[folder]] without \"path\""},
      {"[[folder]]\npath = 'A\\b'\n[[folder]]\npath = './A/x/../b/'\n",
       "blinky.addfolder.toml:4:8: ./A/x/../b/ is named by two [[folder]] tables; the first is on line 2"},
      // One folder to the file system is one folder to the sync file.
      {"[[folder]]\npath = 'Drivers'\n[[folder]]\npath = 'drivers'\n",
       host_name_rule == name_rule::ignoring_case
           ? "blinky.addfolder.toml:4:8: drivers is named by two [[folder]] tables; the first is on line 2"
           : "exclude []; Drivers (line 2); drivers (line 4)"},
      {prefix + "exclude = ['gcc\" --dry-run']\n", "blinky.addfolder.toml:3:12: Invalid pattern: gcc\" --dry-run"},
      {"exclude = [\"../up\"]\n", "blinky.addfolder.toml:1:12: Invalid pattern: ../up"},
      {"[[folder]]\npath = ''\n", "blinky.addfolder.toml:2:8: \"path\" is empty"},
      {"[[folder]]\npath = 'Dri\"vers'\n",
       "blinky.addfolder.toml:2:8: \"path\" holds \" or NUL, which no Windows name holds"},
      {"[[folder]]\npath = \"a\\u0000b\"\n",
       "blinky.addfolder.toml:2:8: \"path\" holds \" or NUL, which no Windows name holds"},
      // The first problem in the text, though its key sorts last.
      {"zzz = 1\nexclude = 2\n", "blinky.addfolder.toml:1:1: unknown key \"zzz\""},
      {prefix + "prune = \n",
       "blinky.addfolder.toml:3:9: Error while parsing key-value pair: expected value, saw '\\n'"},
      // A line end that the description quotes keeps the message on one line.
      {prefix + "prune = tru\n",
       "blinky.addfolder.toml:3:12: Error while parsing boolean: expected 'true', saw 'tru\\n'"},
      {"\xFF\xFE[", "blinky.addfolder.toml:1:1: Encountered invalid utf-8 sequence"},  // UTF-16
      // A letter outside ASCII where white space may stand; the sanitizers watch the library here.
      {prefix + "\xC3\xBC" "berschrift = 1\n",
       "blinky.addfolder.toml:3:1: Error while parsing root table: expected keys, tables, whitespace or comments, saw "
       "'\xC3\xBC'"},
  };
  for (const reader_case& test : cases) EXPECT_EQ(outcome(test.bytes), test.expected) << test.bytes;
}

struct edit_case {
  std::optional<std::string> existing;
  sync_folder folder;
  std::string expected;
  // A base to add instead of the folder.
  std::optional<base_definition> base = std::nullopt;
};

// The new text, or the error's text.
std::string edited(const edit_case& test) {
  std::string text = "unchanged";
  sync_file_error error;
  const std::optional<std::string_view> existing =
      test.existing ? std::optional<std::string_view>(*test.existing) : std::nullopt;
  const bool edited = test.base ? add_sync_base(existing, file, u"blinky.ipcf", *test.base, text, error)
                                : append_sync_folder(existing, file, u"blinky.ipcf", test.folder, text, error);
  if (!edited) {
    EXPECT_EQ(text, "unchanged");
    return to_narrow(sync_file_error_text(error));
  }
  return text;
}

TEST(SyncFile, SaveAppendsATableAndNeverRewritesTheUsersText) {
  const sync_folder drivers{u"Drivers\\STM32", {u"gcc\\", u"it's"}, u"drivers.exclude", true, 0, group_layout::tree};
  const base_definition cube{u"CUBE", u"C:\\ST\\Cube"};
  const edit_case cases[] = {
      {std::nullopt, drivers,
       "# Folders that addfolder keeps in sync with blinky.ipcf\n\n[[folder]]\npath = \"Drivers/STM32\"\n"
       "exclude = ['gcc\\', \"it's\"]\nexclude_from = \"drivers.exclude\"\nprune = true\ngroups = \"tree\"\n"},
      {"\xEF\xBB\xBF" "exclude = [] # mine\r\n[[folder]]\r\npath = 'App'", sync_folder{u"Core", {}, {}, false, 0, {}},
       "\xEF\xBB\xBF" "exclude = [] # mine\r\n[[folder]]\r\npath = 'App'\r\n\r\n[[folder]]\r\npath = \"Core\"\r\n"},
      {"", sync_folder{u"it's\x01", {}, {}, false, 0, {}}, "[[folder]]\npath = \"it's\\u0001\"\n"},
      {"[[folder]]\npath = 'Drivers/STM32/'\n\n", drivers,
       "Drivers\\STM32 is in blinky.addfolder.toml already; change it there."},
      {"[[folder]]\npath = 'App'\nprun = 1\n", drivers, "blinky.addfolder.toml:3:1: unknown key \"prun\""},
      {"folder = []\n", drivers,
       "Drivers\\STM32 cannot be added at the end of blinky.addfolder.toml; add it there by hand."},
      {std::nullopt, sync_folder{u"Core", {u"gcc\" --dry-run"}, {}, false, 0, {}}, "Invalid pattern: gcc\" --dry-run"},
      // A base goes right after the [base] header, or into a new [base] table at the end.
      {std::nullopt, {}, "# Folders that addfolder keeps in sync with blinky.ipcf\n\n[base]\nCUBE = \"C:/ST/Cube\"\n", cube},
      {"[[folder]]\npath = 'App'", {}, "[[folder]]\npath = 'App'\n\n[base]\nCUBE = \"C:/ST/Cube\"\n", cube},
      {"\xEF\xBB\xBF" " [base] # SDKs\r\nA = 'x'\r\n", {},
       "\xEF\xBB\xBF" " [base] # SDKs\r\nCUBE = \"C:/ST/Cube\"\r\nA = 'x'\r\n", cube},
      {"[[folder]]\npath = 'App'\n[base]", {}, "[[folder]]\npath = 'App'\n[base]\nCUBE = \"C:/ST/Cube\"\n", cube},
      {"[base]\ncube = 'y'\n", {}, "CUBE is in blinky.addfolder.toml already; change it there.", cube},
      {"base.A = 'x'\n", {},
       "CUBE cannot be added to the [base] table of blinky.addfolder.toml; add it there by hand.", cube},
  };
  for (const edit_case& test : cases) EXPECT_EQ(edited(test), test.expected) << test.existing.value_or("(none)");
}

}  // namespace
}  // namespace addfolder
