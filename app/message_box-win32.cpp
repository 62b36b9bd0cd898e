#include <windows.h>

#include "app/message_box.h"
#include "app/messages.h"
#include "scan/win32_path.h"

namespace addfolder {

void show_error_box(wide_text_view text) {
  const std::wstring message = to_win32_text(text);
  const std::wstring caption = to_win32_text(error_caption);
  MessageBoxW(nullptr, message.c_str(), caption.c_str(), 0);
}

}  // namespace addfolder
