#include <cerrno>

#include "text_conversion.h"

namespace addfolder {

// POSIX hosts keep their narrow text in UTF-8, so only a lone surrogate fails.
std::string to_error_text(wide_view text) { return to_narrow(text); }

int unconvertible_character_error() { return EILSEQ; }

wide_text from_typed_text(std::string_view bytes) { return shown_wide(bytes); }

}  // namespace addfolder
