// The modal messages of the Windows program.
#pragma once

#include "wide_text.h"

namespace addfolder {

// Shows a message box without owner, caption "Error", style 0 (one OK button, no icon).
void show_error_box(wide_text_view text);

// Shows a message box without owner, caption "addfolder", style 0: a note of
// one line; texts of more lines go to the report window.
void show_info_box(wide_text_view text);

}  // namespace addfolder
