// The terminal program's watch over a run: Ctrl-C and the stop signals end it
// at a safe point, and on a terminal one line tells how far the walk has come.
#pragma once

#include <memory>

#include "run_observer.h"

namespace addfolder {

// Catches interrupts from now on. Unless quiet, and only when standard error
// is a terminal, shows the progress line once the run has taken half a
// second, redrawn in place at most ten times a second, and erased when the
// observer is destroyed.
std::unique_ptr<run_observer> watch_terminal_run(bool quiet);

}  // namespace addfolder
