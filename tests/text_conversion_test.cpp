// Strict conversion between UTF-16 paths and UTF-8 document text.
#include <gtest/gtest.h>

#include "system_error.h"
#include "text_conversion.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace addfolder {
namespace {

TEST(TextConversion, RoundTripsEveryPlane) {
  const wide_path samples[] = {u"", u"lib\\hal", u"M\u00fcller", u"\u65e5\u672c\u8a9e\\\u30d5\u30a1\u30a4\u30eb.c",
                               u"\U0001F600.c", u"a&b<c>.c"};
  for (const wide_path& sample : samples) EXPECT_EQ(to_wide(to_narrow(sample)), sample);
  EXPECT_EQ(to_narrow(u"M\u00fcller"), "M\xC3\xBCller");
  EXPECT_EQ(to_narrow(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

TEST(TextConversion, LoneSurrogatesAreRefused) {
  EXPECT_THROW(to_narrow(wide_path(1, char16_t(0xD800))), system_error);
  EXPECT_THROW(to_narrow(u"a" + wide_path(1, char16_t(0xDC00)) + u"b"), system_error);
  std::string text = "kept";
  EXPECT_FALSE(append_narrow(text, wide_path(1, char16_t(0xDBFF))));
  EXPECT_EQ(text, "kept");
}

TEST(TextConversion, InvalidUtf8IsRefused) {
  const char* invalid[] = {"\xC3", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF", "a\x80"};
  for (const char* text : invalid) {
    EXPECT_THROW(to_wide(text), system_error) << text;
    EXPECT_FALSE(is_utf8(text)) << text;
  }
  EXPECT_TRUE(is_utf8("M\xC3\xBCller \xF0\x9F\x98\x80"));
  // Long ASCII runs are passed over in blocks: a sequence is judged
  // wherever it stands among them.
  for (size_t before = 0; before < 70; before += 3) {
    const std::string ascii(before, 'a');
    for (const char* text : invalid) EXPECT_FALSE(is_utf8(ascii + text + ascii)) << before << ": " << text;
    EXPECT_TRUE(is_utf8(ascii + "\xF0\x9F\x98\x80" + ascii + "\xC3\xBC")) << before;
  }
}

TEST(TextConversion, ShownTextsReachThePersonWhateverTheyHold) {
  EXPECT_EQ(to_shown_utf8(u"a" + wide_path(1, char16_t(0xD800)) + u"\u00fc"), "a\xEF\xBF\xBD\xC3\xBC");
  EXPECT_EQ(shown_wide("M\xC3\xBCller"), u"M\u00fcller");
  EXPECT_EQ(shown_wide("M\xFCller"), u"M\u00fcller");
}

TEST(TextConversion, Windows1252IsLatin1WithCharactersAt0x80To0x9F) {
  std::string text = "kept:";
  EXPECT_TRUE(append_windows_1252(text, std::string("\x80\x8A\x9F\xA0\xFC\0a", 7)));
  EXPECT_EQ(text, std::string("kept:\xE2\x82\xAC\xC5\xA0\xC5\xB8\xC2\xA0\xC3\xBC\0a", 18));
  for (const char* unassigned : {"\x81", "\x8D", "\x8F", "\x90", "x\x9D"}) {
    EXPECT_FALSE(append_windows_1252(text, unassigned)) << unassigned;
  }
  EXPECT_EQ(text.size(), 18u);
}

TEST(TextConversion, FailureCarriesThePlatformsCodeAndMessageAlone) {
  try {
    to_narrow(wide_path(1, char16_t(0xD800)));
    FAIL();
  } catch (const system_error& error) {
    EXPECT_EQ(error.code(), unconvertible_character_error());
    EXPECT_EQ(std::string(error.what()), system_message(error.code()));
    EXPECT_EQ(error.path(), nullptr);
  }
}

TEST(ErrorText, DescriptionNamesOperationMessageAndPath) {
  const system_error error(unconvertible_character_error(), "status", wide_path(u"src\\x.h"));
  EXPECT_EQ(std::string(error.what()), "status: " + system_message(error.code()) + ": \"src\\x.h\"");
  const system_error no_path(unconvertible_character_error(), "current_path()");
  EXPECT_EQ(std::string(no_path.what()), "current_path(): " + system_message(no_path.code()));
}

TEST(ErrorText, SystemMessagesHaveNoLineEnd) {
  const std::string message = system_message(2);
  ASSERT_FALSE(message.empty());
  EXPECT_NE(message.back(), '\n');
  EXPECT_NE(message.back(), '\r');
}

TEST(ErrorText, AnErrorStreamThatIsNoConsoleTakesUtf8) {
#ifdef _WIN32
  DWORD mode = 0;
  if (GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode)) GTEST_SKIP() << "standard error is a console";
#endif
  EXPECT_EQ(to_error_text(u"\u65e5\u672c.c"), "\xE6\x97\xA5\xE6\x9C\xAC.c");
  // Never a replacement character in place of a name.
  EXPECT_THROW(to_error_text(wide_path(1, char16_t(0xD800))), system_error);
}

}  // namespace
}  // namespace addfolder
