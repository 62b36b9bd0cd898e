// Windows' own comparison of letter case and the hash of the connection
// file's texts agree: a text that Windows takes for another hashes alike.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "path_text_match.h"
#include "text_conversion.h"

namespace addfolder {
namespace {

// The unit in the case that Windows' own table gives it ("file system
// rules", the table of CompareStringOrdinal).
char16_t windows_case(char16_t unit, DWORD mapping) {
  const wchar_t source = static_cast<wchar_t>(unit);
  wchar_t mapped = source;
  LCMapStringEx(LOCALE_NAME_INVARIANT, mapping, &source, 1, &mapped, 1, nullptr, nullptr, 0);
  return static_cast<char16_t>(mapped);
}

TEST(LetterCase, EveryLetterThatWindowsFoldsHashesAlike) {
  for (char32_t unit = 1; unit < 0x10000; ++unit) {
    if (unit >= 0xD800 && unit < 0xE000) continue;
    const std::string text = to_narrow(std::u16string(1, static_cast<char16_t>(unit)));
    for (const DWORD mapping : {LCMAP_UPPERCASE, LCMAP_LOWERCASE}) {
      const std::string other = to_narrow(std::u16string(1, windows_case(static_cast<char16_t>(unit), mapping)));
      if (!same_path_text(text, other)) continue;
      ASSERT_EQ(path_text_hash(text), path_text_hash(other)) << "U+" << std::hex << static_cast<unsigned>(unit);
    }
  }
}

}  // namespace
}  // namespace addfolder
