// Prints the windows of another program's top-level window, so that a test
// driving the program under Wine can read the texts that X does not show and
// find where the buttons are. One line per window, tab-separated:
//   CLASS  LEFT  TOP  RIGHT  BOTTOM  TEXT
// in screen coordinates, the top-level window first.
//
//   window_probe.exe CAPTION      exit 0 when a visible window with this caption was found
//   window_probe.exe --clipboard  prints the text on the clipboard
#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

namespace {

void print_utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

// Asks the window itself, as the text an edit box holds lives in its owner
// process; a window that does not answer in time gives its stored caption.
std::wstring window_text(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) length = 4096;
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  if (SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                          2000, &length)) {
    text.resize(static_cast<size_t>(length));
  } else {
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  }
  // Line ends inside a text would split its line.
  for (wchar_t& c : text) {
    if (c == L'\r' || c == L'\n' || c == L'\t') c = L' ';
  }
  return text;
}

BOOL CALLBACK print_window(HWND window, LPARAM) {
  wchar_t class_name[256] = {};
  GetClassNameW(window, class_name, 256);
  RECT bounds{};
  GetWindowRect(window, &bounds);
  const std::wstring line = std::wstring(class_name) + L'\t' + std::to_wstring(bounds.left) + L'\t' +
                            std::to_wstring(bounds.top) + L'\t' + std::to_wstring(bounds.right) + L'\t' +
                            std::to_wstring(bounds.bottom) + L'\t' + window_text(window) + L'\n';
  print_utf8(line);
  return TRUE;
}

struct search {
  const wchar_t* caption;
  HWND found;
};

BOOL CALLBACK match_caption(HWND window, LPARAM data) {
  search& wanted = *reinterpret_cast<search*>(data);
  if (!IsWindowVisible(window) || window_text(window) != wanted.caption) return TRUE;
  wanted.found = window;
  return FALSE;
}

int print_clipboard() {
  if (!OpenClipboard(nullptr)) return 1;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (data != nullptr) {
    print_utf8(static_cast<const wchar_t*>(GlobalLock(data)));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return data != nullptr ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fputs("usage: window_probe CAPTION | --clipboard\n", stderr);
    return 2;
  }
  // Plain line ends, as the script reads them.
  _setmode(_fileno(stdout), _O_BINARY);
  if (std::wstring(argv[1]) == L"--clipboard") return print_clipboard();
  search wanted{argv[1], nullptr};
  EnumWindows(match_caption, reinterpret_cast<LPARAM>(&wanted));
  if (!wanted.found) {
    std::fputs("no visible window with this caption\n", stderr);
    return 1;
  }
  print_window(wanted.found, 0);
  EnumChildWindows(wanted.found, print_window, 0);
  std::fflush(stdout);
  return 0;
}
