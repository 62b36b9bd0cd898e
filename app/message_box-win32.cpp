#include <windows.h>

#include "message_box.h"
#include "messages.h"
#include "win32_path.h"

namespace addfolder {

namespace {

void show_box(wide_text_view text, wide_text_view caption_text) {
  const std::wstring message = to_win32_text(text);
  const std::wstring caption = to_win32_text(caption_text);
  MessageBoxW(nullptr, message.c_str(), caption.c_str(), 0);
}

}  // namespace

void show_error_box(wide_text_view text) { show_box(text, error_caption); }

void show_info_box(wide_text_view text) { show_box(text, program_name); }

}  // namespace addfolder
