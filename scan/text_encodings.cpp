// The encodings of files other than UTF-8 alone: UTF-16 behind a byte order
// mark, and windows-1252.
#include "text_conversion.h"

namespace addfolder {
namespace {

constexpr std::string_view utf8_mark = "\xEF\xBB\xBF";
constexpr std::string_view utf16_little_endian_mark = "\xFF\xFE";
constexpr std::string_view utf16_big_endian_mark = "\xFE\xFF";

// What windows-1252 puts at 0x80 to 0x9F; zero where it assigns nothing.
constexpr char16_t windows_1252_high_controls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

}  // namespace

bool append_utf16_bytes(wide_path& text, std::string_view bytes, bool big_endian) {
  if (bytes.size() % 2 != 0) return false;
  const size_t original_size = text.size();
  text.reserve(original_size + bytes.size() / 2);
  for (size_t index = 0; index < bytes.size(); index += 2) {
    const auto first = static_cast<unsigned char>(bytes[index]);
    const auto second = static_cast<unsigned char>(bytes[index + 1]);
    text += static_cast<char16_t>(big_endian ? (first << 8) | second : (second << 8) | first);
  }
  for (size_t index = original_size; index < text.size();) {
    size_t length = 0;
    const char32_t c = character_at(text, index, length);
    if (c >= 0xD800 && c <= 0xDFFF) {
      text.resize(original_size);
      return false;
    }
    index += length;
  }
  return true;
}

bool decode_marked_text(std::string_view bytes, wide_path& text) {
  if (bytes.starts_with(utf16_little_endian_mark)) {
    return append_utf16_bytes(text, bytes.substr(utf16_little_endian_mark.size()), false);
  }
  if (bytes.starts_with(utf16_big_endian_mark)) {
    return append_utf16_bytes(text, bytes.substr(utf16_big_endian_mark.size()), true);
  }
  if (bytes.starts_with(utf8_mark)) bytes.remove_prefix(utf8_mark.size());
  return append_wide(text, bytes);
}

bool append_windows_1252(std::string& text, std::string_view bytes) {
  wide_path wide;
  wide.reserve(bytes.size());
  for (const char byte : bytes) {
    const auto value = static_cast<unsigned char>(byte);
    if (value < 0x80 || value >= 0xA0) {
      wide += value;
    } else if (const char16_t c = windows_1252_high_controls[value - 0x80]) {
      wide += c;
    } else {
      return false;
    }
  }
  return append_narrow(text, wide);
}

}  // namespace addfolder
