// The user's words for what failed: a failed system call, and the reason
// that goes under a file's message.
#pragma once

#include <string>

#include "document_error.h"
#include "system_error.h"

namespace addfolder {

// The platform's text for an error code, or "unknown error".
std::u16string platform_text(int code);

// Names the problem, the path concerned and the system's own words for it.
std::u16string failure_message(const system_error& error);

// Another run held the lock of the project for all of the run's patience.
std::u16string project_locked_message(const wide_path& project_file);

// Why a document could not be read or written, in one line: the full path
// that was tried, as the host spells it, then the platform's text for its
// code, where the parser stopped, or the program's own reason.
std::u16string document_error_reason(const document_error& error);

}  // namespace addfolder
