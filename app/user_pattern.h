// What a user may give as a pattern, a folder or a file: the rules that the
// command line and the sync file share.
#pragma once

#include "exclusion_rules.h"
#include "path.h"

namespace addfolder {

// True when the text holds a character that no Windows name holds, so that it
// can only be a mistake: a '"', which Windows' command-line splitting leaves
// where a "\" before a closing quote swallowed the rest of the line, or a NUL.
bool holds_impossible_character(wide_view text);

// Adds a user's pattern to rules; false, leaving them unchanged, for one that
// holds an impossible character or names nothing.
bool add_user_pattern(exclusion_rules& rules, wide_view pattern);

}  // namespace addfolder
