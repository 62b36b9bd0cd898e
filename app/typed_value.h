// Values typed after an option that names folders or patterns.
#pragma once

#include "wide_text.h"

namespace addfolder {

// Checks a folder, pattern or file value from the command line or the sync
// file. No Windows name holds a double quote, so one in a value means that
// the command line was split other than the user meant: Windows reads \" as a
// quote, so "gcc\" swallows the rest of the line. False, with the message
// for the user in error, for such a value.
bool check_typed_value(wide_text_view value, wide_text& error);

}  // namespace addfolder
