#include <cstring>

#include "system_error.h"
#include "text_conversion.h"

namespace addfolder {

std::string system_message(int code) {
  const char* text = std::strerror(code);
  return text == nullptr ? std::string() : std::string(text);
}

wide_text system_message_wide(int code) {
  wide_text wide;
  if (!append_wide(wide, system_message(code))) wide.clear();
  return wide;
}

}  // namespace addfolder
