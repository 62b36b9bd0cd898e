#include <windows.h>

#include "system_error.h"
#include "text_conversion.h"
#include "win32_path.h"

namespace addfolder {

wide_text system_message_wide(int code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  if (length == 0 || buffer == nullptr) return {};
  wide_text message = from_win32_text(std::wstring_view(buffer, length));
  LocalFree(buffer);
  while (!message.empty() && (message.back() == u'\r' || message.back() == u'\n' || message.back() == u' ')) {
    message.pop_back();
  }
  return message;
}

std::string system_message(int code) {
  try {
    return to_error_text(system_message_wide(code));
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace addfolder
