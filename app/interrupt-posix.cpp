#include <signal.h>

#include <atomic>

#include "interrupt.h"

namespace addfolder {
namespace {

std::atomic<bool> requested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler may only touch a lock-free atomic");

void note_interrupt(int) { requested.store(true); }

}  // namespace

void catch_interrupts() {
  struct sigaction action {};
  action.sa_handler = note_interrupt;
  sigemptyset(&action.sa_mask);
  // Calls under way go on: a write that a signal broke off would fail the save.
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool interrupt_requested() { return requested.load(); }

}  // namespace addfolder
