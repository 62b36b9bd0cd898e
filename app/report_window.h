// The window in which the Windows program shows texts of more than one line:
// the help, the version, a report, the problems met while scanning.
#pragma once

#include <vector>

#include "wide_text.h"

namespace addfolder {

// Shows the lines in a modal, resizable window captioned "addfolder": a
// read-only text in a fixed-width font that scrolls both ways and wraps no
// line, a Copy button (the whole text to the clipboard) and a Close button.
// The window fits its text, but never more than 80% of the screen, and is
// centred on the screen's work area. Returns when the user closes it.
void show_report_window(const std::vector<wide_text>& lines);

}  // namespace addfolder
