#include <windows.h>

#include <atomic>

#include "interrupt.h"

namespace addfolder {
namespace {

std::atomic<bool> requested{false};

// Runs on a thread of its own that the console starts.
BOOL WINAPI note_interrupt(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  requested.store(true);
  return TRUE;
}

}  // namespace

void catch_interrupts() { SetConsoleCtrlHandler(note_interrupt, TRUE); }

bool interrupt_requested() { return requested.load(); }

}  // namespace addfolder
