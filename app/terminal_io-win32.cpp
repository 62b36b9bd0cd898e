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

// A console takes wide text as it is; a pipe or file gets the narrow code
// page, or UTF-8 where the code page has no form for a character.
void write_to(DWORD handle_id, FILE* stream, wide_text_view text) {
  const HANDLE handle = GetStdHandle(handle_id);
  if (is_console(handle)) {
    const std::wstring native = to_win32_text(text);
    DWORD written = 0;
    WriteConsoleW(handle, native.data(), static_cast<DWORD>(native.size()), &written, nullptr);
    return;
  }
  std::string narrow;
  try {
    narrow = to_error_text(text);
  } catch (const std::exception&) {
    narrow.clear();
    for (size_t i = 0; i < text.size(); ++i) {
      if (!append_narrow(narrow, text.substr(i, 1))) narrow += '?';
    }
  }
  std::fwrite(narrow.data(), 1, narrow.size(), stream);
  std::fflush(stream);
}

wide_text from_code_page(UINT code_page, const std::string& text) {
  if (text.empty()) return wide_text();
  const int length = MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return from_win32_text(wide);
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
  // Pipes usually carry UTF-8; fall back to the ANSI code page otherwise.
  if (!append_wide(line, narrow)) line = from_code_page(CP_ACP, narrow);
  return true;
}

}  // namespace addfolder
