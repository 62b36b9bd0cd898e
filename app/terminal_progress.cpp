#include "terminal_progress.h"

#include <algorithm>
#include <chrono>

#include "exit_codes.h"
#include "interrupt.h"
#include "messages.h"
#include "terminal_io.h"

namespace addfolder {
namespace {

using progress_clock = std::chrono::steady_clock;

class terminal_progress final : public run_observer {
 public:
  explicit terminal_progress(bool show) : show_(show && error_is_terminal()) { catch_interrupts(); }
  ~terminal_progress() override {
    if (width_ > 0) write_error_text(u"\r" + wide_text(width_, u' ') + u"\r");
  }
  terminal_progress(const terminal_progress&) = delete;
  terminal_progress& operator=(const terminal_progress&) = delete;

  bool keep_walking(std::size_t files, std::size_t folders) override {
    if (show_) draw(files, folders);
    return !interrupt_requested();
  }
  bool keep_waiting() override { return !interrupt_requested(); }
  bool begin_writing() override { return !interrupt_requested(); }
  bool keep_writing() override { return !interrupt_requested(); }
  int stopped_exit_code() const override { return exit_interrupted; }

 private:
  void draw(std::size_t files, std::size_t folders) {
    const progress_clock::time_point now = progress_clock::now();
    if (now - start_ < progress_delay || (width_ > 0 && now - drawn_ < progress_interval)) return;
    wide_text line = progress_text(files, folders);
    const std::size_t width = line.size();
    // Blanks cover what is left of a longer line before it.
    if (width < width_) line.append(width_ - width, u' ');
    write_error_text(u"\r" + line);
    width_ = std::max(width, width_);
    drawn_ = now;
  }

  const bool show_;
  const progress_clock::time_point start_ = progress_clock::now();
  progress_clock::time_point drawn_;
  // The width of the widest line drawn; 0 while none is shown.
  std::size_t width_ = 0;
};

}  // namespace

std::unique_ptr<run_observer> watch_terminal_run(bool quiet) { return std::make_unique<terminal_progress>(!quiet); }

}  // namespace addfolder
