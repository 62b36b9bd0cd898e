#include <windows.h>

#include <cstdio>
#include <string>

#include "terminal_io.h"
#include "text_conversion.h"
#include "win32_path.h"

namespace addfolder {
namespace {

bool is_console(HANDLE handle) {
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) != 0;
}

// A console takes wide text as it is; a pipe or a file gets UTF-8 alone, as
// the lines of the error stream do.
void write_to(DWORD handle_id, FILE* stream, wide_text_view text) {
  const HANDLE handle = GetStdHandle(handle_id);
  if (is_console(handle)) {
    const std::wstring native = to_win32_text(text);
    DWORD written = 0;
    WriteConsoleW(handle, native.data(), static_cast<DWORD>(native.size()), &written, nullptr);
    return;
  }
  const std::string narrow = to_shown_utf8(text);
  std::fwrite(narrow.data(), 1, narrow.size(), stream);
  std::fflush(stream);
}

}  // namespace

void write_output(wide_text_view text) { write_to(STD_OUTPUT_HANDLE, stdout, text); }

void write_error_line(wide_text_view text) {
  std::fflush(stderr);
  write_to(STD_ERROR_HANDLE, stderr, wide_text(text) + u"\n");
}

void write_error_text(wide_text_view text) {
  std::fflush(stderr);
  write_to(STD_ERROR_HANDLE, stderr, text);
}

bool error_is_terminal() { return is_console(GetStdHandle(STD_ERROR_HANDLE)); }

bool read_input_line(wide_text& line) {
  line.clear();
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (is_console(input)) {
    std::wstring buffer;
    wchar_t c = 0;
    DWORD read = 0;
    while (ReadConsoleW(input, &c, 1, &read, nullptr) && read == 1) {
      if (c == L'\n') {
        line = from_win32_text(buffer);
        while (!line.empty() && line.back() == u'\r') line.pop_back();
        return true;
      }
      buffer += c;
    }
    line = from_win32_text(buffer);
    return !buffer.empty();
  }
  std::string narrow;
  int c = 0;
  bool any = false;
  while ((c = std::fgetc(stdin)) != EOF) {
    any = true;
    if (c == '\n') break;
    narrow += static_cast<char>(c);
  }
  if (!any) return false;
  while (!narrow.empty() && narrow.back() == '\r') narrow.pop_back();
  line = from_typed_text(narrow);
  return true;
}

}  // namespace addfolder
