// The error that the scan layer raises for a failed call to the system.
#pragma once

#include <exception>
#include <optional>
#include <string>

#include "path.h"

namespace addfolder {

// A failed system call: the platform's error code, the operation's name
// (empty for a text conversion) and the path concerned, if any.
class system_error : public std::exception {
 public:
  explicit system_error(int code, std::string operation = {}, std::optional<wide_path> path = std::nullopt);

  // The platform's error code (errno on POSIX, the Win32 error on Windows).
  int code() const noexcept { return code_; }
  // The operation that failed, such as "status"; empty for a conversion.
  const std::string& operation() const noexcept { return operation_; }
  // The path concerned, or null when the error has none.
  const wide_path* path() const noexcept { return path_ ? &*path_ : nullptr; }
  // The description in the error stream's encoding: "operation: message: \"path\"".
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  int code_;
  std::string operation_;
  std::optional<wide_path> path_;
  std::string description_;
};

// The operating system's text for an error code, in the error stream's code
// page, without a trailing line end; "unknown error" when the system has none.
std::string system_message(int code);

// The same text as a wide string, for messages shown to the user.
wide_text system_message_wide(int code);

}  // namespace addfolder
