// The Windows program's watch over a run: a small window that shows how far
// the walk has come and lets the user cancel before anything is written.
#pragma once

#include <memory>

#include "run_observer.h"

namespace addfolder {

// Unless quiet, shows the window captioned "addfolder" once the run has
// taken half a second: the count, redrawn ten times a second, and a Cancel
// button, disabled once the run writes. A cancelled run ends with exit code
// 0, as the folder dialog's Cancel does; a console Ctrl-C ends it with 130.
// The window never shows, and so never takes the focus, for a shorter run,
// and is gone when the observer is destroyed.
std::unique_ptr<run_observer> watch_gui_run(bool quiet);

}  // namespace addfolder
