#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "messages.h"
#include "report_window.h"
#include "win32_path.h"

namespace addfolder {
namespace {

constexpr wchar_t window_class[] = L"addfolder report";
constexpr int copy_button = 100;
// The share of the screen's work area that the window may take, in percent.
constexpr int most_screen_percent = 80;
// The least text that the window keeps room for, in characters and lines.
constexpr int least_columns = 40;
constexpr int least_lines = 4;

// What the window proc needs: its controls and the whole text.
struct report_window {
  HWND edit = nullptr;
  HWND copy = nullptr;
  HWND close = nullptr;
  std::wstring text;
  // The gap around the controls, and the size of a button.
  int margin = 0;
  int button_width = 0;
  int button_height = 0;
  SIZE least_size{};
};

// The size of a font's average character.
SIZE character_size(HDC device, HFONT font) {
  const HGDIOBJ old = SelectObject(device, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(device, &metrics);
  SelectObject(device, old);
  return SIZE{metrics.tmAveCharWidth, metrics.tmHeight};
}

// The room that the lines take in the font: the widest line, as far as it
// stays below most_width, and every line's height.
SIZE text_extent(HDC device, HFONT font, const std::vector<wide_text>& lines, int most_width) {
  const HGDIOBJ old = SelectObject(device, font);
  SIZE extent{0, 0};
  for (const wide_text& line : lines) {
    SIZE size{};
    const std::wstring native = to_win32_text(line);
    GetTextExtentPoint32W(device, native.c_str(), static_cast<int>(native.size()), &size);
    extent.cx = std::max(extent.cx, size.cx);
    if (extent.cx >= most_width) break;
  }
  SelectObject(device, old);
  extent.cy = static_cast<LONG>(lines.size()) * character_size(device, font).cy;
  return extent;
}

void copy_to_clipboard(HWND owner, const std::wstring& text) {
  if (!OpenClipboard(owner)) return;
  EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
}

// The text above, the buttons in the bottom right corner.
void lay_out(const report_window& window, int width, int height) {
  const int m = window.margin;
  const int buttons_top = height - m - window.button_height;
  MoveWindow(window.edit, m, m, std::max(0, width - 2 * m), std::max(0, buttons_top - 2 * m), TRUE);
  const int close_left = width - m - window.button_width;
  MoveWindow(window.close, close_left, buttons_top, window.button_width, window.button_height, TRUE);
  MoveWindow(window.copy, close_left - m - window.button_width, buttons_top, window.button_width,
             window.button_height, TRUE);
}

LRESULT CALLBACK window_proc(HWND handle, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* window = reinterpret_cast<report_window*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrW(handle, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
      break;
    case WM_SIZE:
      if (window != nullptr) lay_out(*window, LOWORD(lparam), HIWORD(lparam));
      return 0;
    case WM_GETMINMAXINFO:
      if (window != nullptr) {
        reinterpret_cast<MINMAXINFO*>(lparam)->ptMinTrackSize = POINT{window->least_size.cx, window->least_size.cy};
      }
      return 0;
    case WM_CTLCOLORSTATIC:
      // A read-only text is drawn on the dialog's grey; this one is for reading.
      if (window != nullptr && reinterpret_cast<HWND>(lparam) == window->edit) {
        SetBkColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      }
      break;
    case WM_COMMAND:
      if (window != nullptr && LOWORD(wparam) == copy_button) {
        copy_to_clipboard(handle, window->text);
        return 0;
      }
      if (LOWORD(wparam) == IDCANCEL || LOWORD(wparam) == IDOK) {
        DestroyWindow(handle);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(handle, message, wparam, lparam);
}

HWND make_control(HWND parent, const wchar_t* class_name, const wchar_t* text, DWORD style, int id, HFONT font) {
  HWND control = CreateWindowExW(0, class_name, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 0, 0, 0, 0, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

// The fonts of the window: fixed width for the text, the system's message font for the buttons.
struct window_fonts {
  HFONT text = nullptr;
  HFONT ui = nullptr;
  ~window_fonts() {
    if (text != nullptr) DeleteObject(text);
    if (ui != nullptr) DeleteObject(ui);
  }
};

void make_fonts(window_fonts& fonts, HDC device) {
  fonts.text = CreateFontW(-MulDiv(10, GetDeviceCaps(device, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                           FIXED_PITCH | FF_MODERN, L"Consolas");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  fonts.ui = CreateFontIndirectW(&metrics.lfMessageFont);
}

RECT screen_work_area() {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
  return monitor.rcWork;
}

// The window's rectangle: room for the text, the scroll bars and the
// buttons, at least the least size, at most the screen's share, centred.
RECT window_bounds(report_window& window, const window_fonts& fonts, HDC device,
                   const std::vector<wide_text>& lines) {
  const SIZE character = character_size(device, fonts.text);
  const SIZE ui = character_size(device, fonts.ui);
  window.margin = ui.cy / 2;
  window.button_width = 10 * ui.cx;
  window.button_height = ui.cy * 7 / 4;
  const RECT work = screen_work_area();
  const int most_width = static_cast<int>((work.right - work.left) * most_screen_percent / 100);
  const int most_height = static_cast<int>((work.bottom - work.top) * most_screen_percent / 100);
  const SIZE text = text_extent(device, fonts.text, lines, most_width);
  // The edit box's border and scroll bars, and the gaps and the buttons around it.
  const int edit_frame = 2 * GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXVSCROLL) + 2 * character.cx;
  const int below =
      GetSystemMetrics(SM_CYHSCROLL) + 2 * GetSystemMetrics(SM_CYEDGE) + 3 * window.margin + window.button_height;
  RECT outer{0, 0, std::max<LONG>(text.cx, least_columns * character.cx) + edit_frame + 2 * window.margin,
             std::max<LONG>(text.cy, least_lines * character.cy) + below};
  AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, 0);
  window.least_size = SIZE{std::min<LONG>(2 * window.button_width + 3 * window.margin + edit_frame, most_width),
                           std::min<LONG>(below + 2 * character.cy, most_height)};
  const int width = std::min<int>(outer.right - outer.left, most_width);
  const int height = std::min<int>(outer.bottom - outer.top, most_height);
  const int left = work.left + (work.right - work.left - width) / 2;
  const int top = work.top + (work.bottom - work.top - height) / 2;
  return RECT{left, top, left + width, top + height};
}

}  // namespace

void show_report_window(const std::vector<wide_text>& lines) {
  report_window window;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) window.text += L"\r\n";
    window.text += to_win32_text(lines[i]);
  }

  WNDCLASSEXW description{};
  description.cbSize = sizeof description;
  description.lpfnWndProc = window_proc;
  description.hInstance = GetModuleHandleW(nullptr);
  description.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  description.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  description.lpszClassName = window_class;
  RegisterClassExW(&description);

  window_fonts fonts;
  HDC device = GetDC(nullptr);
  make_fonts(fonts, device);
  const RECT bounds = window_bounds(window, fonts, device, lines);
  ReleaseDC(nullptr, device);

  const std::wstring caption = to_win32_text(program_name);
  HWND handle = CreateWindowExW(0, window_class, caption.c_str(), WS_OVERLAPPEDWINDOW, bounds.left, bounds.top,
                                bounds.right - bounds.left, bounds.bottom - bounds.top, nullptr, nullptr,
                                description.hInstance, &window);
  if (handle == nullptr) return;
  // Read-only, scrolled both ways, no line wrapped.
  const DWORD edit_style =
      WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | ES_AUTOVSCROLL;
  window.edit = make_control(handle, L"EDIT", L"", edit_style, 0, fonts.text);
  // No limit on the text's length beyond memory.
  SendMessageW(window.edit, EM_SETLIMITTEXT, 0, 0);
  SetWindowTextW(window.edit, window.text.c_str());
  window.copy = make_control(handle, L"BUTTON", to_win32_text(copy_button_text).c_str(), BS_PUSHBUTTON, copy_button,
                             fonts.ui);
  window.close = make_control(handle, L"BUTTON", to_win32_text(close_button_text).c_str(), BS_DEFPUSHBUTTON, IDCANCEL,
                              fonts.ui);
  RECT client{};
  GetClientRect(handle, &client);
  lay_out(window, client.right, client.bottom);
  ShowWindow(handle, SW_SHOWNORMAL);
  SetForegroundWindow(handle);
  SetFocus(window.close);

  MSG message;
  while (IsWindow(handle) && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(handle, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

}  // namespace addfolder
