// The message that a failed system call shows the user.
#pragma once

#include <string>

#include "system_error.h"
#include "xml_document.h"

namespace addfolder {

// Names the problem, the path concerned and the system's own words for it.
std::u16string failure_message(const system_error& error);

// The message of a document that did not load, and on a second line why its
// text was refused, where it was.
std::u16string document_failure_message(std::u16string_view message, const document_text_problem& problem);

}  // namespace addfolder
