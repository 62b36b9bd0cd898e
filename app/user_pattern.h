// What a user may give as a pattern, a folder or a file: the rules that the
// command line and the sync file share.
#pragma once

#include "exclusion_rules.h"
#include "path.h"
#include "wide_text.h"

namespace addfolder {

// True when the text holds a character that no Windows name holds, so that it
// can only be a mistake: a '"', which Windows' command-line splitting leaves
// where a "\" before a closing quote swallowed the rest of the line, or a NUL.
bool holds_impossible_character(wide_view text);

// Checks a folder, pattern or file value from the command line. A value
// that holds an impossible character means that the command line was split
// other than the user meant: Windows reads \" as a quote, so "gcc\" swallows
// the rest of the line. False, with the message for the user in error, for
// such a value.
bool check_typed_value(wide_text_view value, wide_text& error);

// "Invalid pattern: " and the pattern, cut where it is too long to read.
wide_text invalid_pattern_message(wide_view pattern);

// Adds a user's pattern to rules; false, leaving them unchanged, for one that
// holds an impossible character or names nothing.
bool add_user_pattern(exclusion_rules& rules, wide_view pattern);

}  // namespace addfolder
