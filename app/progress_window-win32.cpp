#include <windows.h>

#include <atomic>
#include <thread>

#include "exit_codes.h"
#include "interrupt.h"
#include "messages.h"
#include "progress_window.h"
#include "win32_path.h"

namespace addfolder {
namespace {

constexpr wchar_t window_class[] = L"addfolder progress";
constexpr UINT run_writes = WM_APP;
constexpr UINT run_ended = WM_APP + 1;
constexpr UINT_PTR redraw_timer = 1;
constexpr int cancel_button = 1;

// What the run has asked of the window, and what the user has.
enum class run_stage { walking, cancelled, writing };

class progress_window final : public run_observer {
 public:
  explicit progress_window(bool show) {
    catch_interrupts();
    if (show) thread_ = std::thread([this] { run_window(); });
  }
  ~progress_window() override {
    SetEvent(ended_);
    if (const HWND window = window_.load()) PostMessageW(window, run_ended, 0, 0);
    if (thread_.joinable()) thread_.join();
    CloseHandle(ended_);
  }
  progress_window(const progress_window&) = delete;
  progress_window& operator=(const progress_window&) = delete;

  bool keep_walking(std::size_t files, std::size_t folders) override {
    files_.store(files);
    folders_.store(folders);
    return stage_.load() != run_stage::cancelled && !interrupt_requested();
  }
  bool keep_waiting() override { return stage_.load() != run_stage::cancelled && !interrupt_requested(); }
  bool begin_writing() override {
    run_stage expected = run_stage::walking;
    if (!stage_.compare_exchange_strong(expected, run_stage::writing) && expected == run_stage::cancelled) return false;
    if (const HWND window = window_.load()) PostMessageW(window, run_writes, 0, 0);
    return !interrupt_requested();
  }
  bool keep_writing() override { return !interrupt_requested(); }
  int stopped_exit_code() const override {
    return stage_.load() == run_stage::cancelled ? exit_success : exit_interrupted;
  }

 private:
  void run_window();
  HWND create_window();
  static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT handle(HWND window, UINT message, WPARAM w, LPARAM l);
  void redraw();
  void cancel();

  std::atomic<std::size_t> files_{0};
  std::atomic<std::size_t> folders_{0};
  std::atomic<run_stage> stage_{run_stage::walking};
  std::atomic<HWND> window_{nullptr};
  HANDLE ended_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HWND text_ = nullptr;
  HWND button_ = nullptr;
  std::wstring shown_;
  std::thread thread_;
};

void progress_window::run_window() {
  // A run that ends within the delay shows nothing.
  const DWORD delay = static_cast<DWORD>(progress_delay.count());
  if (WaitForSingleObject(ended_, delay) == WAIT_OBJECT_0) return;
  const HWND window = create_window();
  if (window == nullptr) return;
  window_.store(window);
  // The run may have ended while the window was made, before it could be told.
  if (WaitForSingleObject(ended_, 0) == WAIT_OBJECT_0) PostMessageW(window, run_ended, 0, 0);
  if (stage_.load() == run_stage::writing) PostMessageW(window, run_writes, 0, 0);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

HWND progress_window::create_window() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW description{};
  description.cbSize = sizeof(description);
  description.lpfnWndProc = window_procedure;
  description.hInstance = instance;
  description.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  description.lpszClassName = window_class;
  RegisterClassExW(&description);

  constexpr int width = 360;
  constexpr int height = 130;
  const std::wstring caption = to_win32_text(program_name);
  const HWND window = CreateWindowExW(
      WS_EX_DLGMODALFRAME, window_class, caption.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU,
      (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
      nullptr, nullptr, instance, this);
  if (window == nullptr) return nullptr;
  const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  text_ = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 16, 16, width - 40, 20, window, nullptr,
                          instance, nullptr);
  const std::wstring cancel_text = to_win32_text(cancel_label);
  button_ = CreateWindowExW(0, L"Button", cancel_text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                            width - 110, height - 72, 80, 24, window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(cancel_button)), instance, nullptr);
  SendMessageW(text_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(button_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  redraw();
  SetTimer(window, redraw_timer, static_cast<UINT>(progress_interval.count()), nullptr);
  // Shown without the focus: the user works on in the IDE until a click.
  ShowWindow(window, SW_SHOWNOACTIVATE);
  return window;
}

LRESULT CALLBACK progress_window::window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(l);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* self = reinterpret_cast<progress_window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return self != nullptr ? self->handle(window, message, w, l) : DefWindowProcW(window, message, w, l);
}

LRESULT progress_window::handle(HWND window, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_TIMER:
      redraw();
      return 0;
    case WM_COMMAND:
      if (LOWORD(w) == cancel_button) cancel();
      return 0;
    case WM_CLOSE:
      // The close box asks what Cancel asks; the window goes when the run does.
      cancel();
      return 0;
    case run_writes:
      EnableWindow(button_, FALSE);
      return 0;
    case run_ended:
      KillTimer(window, redraw_timer);
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, w, l);
  }
}

void progress_window::redraw() {
  const std::wstring text = to_win32_text(progress_text(files_.load(), folders_.load()));
  if (text == shown_) return;
  shown_ = text;
  SetWindowTextW(text_, text.c_str());
}

void progress_window::cancel() {
  run_stage expected = run_stage::walking;
  if (stage_.compare_exchange_strong(expected, run_stage::cancelled)) EnableWindow(button_, FALSE);
}

}  // namespace

std::unique_ptr<run_observer> watch_gui_run(bool quiet) { return std::make_unique<progress_window>(!quiet); }

}  // namespace addfolder
