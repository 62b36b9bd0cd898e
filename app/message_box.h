// The modal messages of the Windows program: errors and the version.
#pragma once

#include "scan/wide_text.h"

namespace addfolder {

// Shows a message box without owner, caption "Error", style 0 (one OK button, no icon).
void show_error_box(wide_text_view text);

// Shows the version text in a message box without owner, caption "addfolder", style 0.
void show_version_box(wide_text_view text);

}  // namespace addfolder
