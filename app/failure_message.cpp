#include "failure_message.h"

#include <string>

#include "file_system.h"
#include "messages.h"
#include "run_lock.h"
#include "text_conversion.h"

namespace addfolder {
namespace {

std::u16string number(size_t value) { return shown_wide(std::to_string(value)); }

// A path as the host spells it: the path model's "\" is "/" on POSIX hosts.
std::u16string host_spelling(const wide_path& path) {
  std::u16string spelled = path;
  for (char16_t& unit : spelled) unit = unit == preferred_separator ? host_separator : unit;
  return spelled;
}

// What went wrong with a document, in a sentence of its own.
std::u16string why_it_failed(const document_error& error) {
  switch (error.failure) {
    case document_failure::not_a_file:
      return std::u16string(is_not_a_file);
    case document_failure::read_only:
      return std::u16string(is_read_only);
    case document_failure::wrong_root:
      return std::u16string(root_element_intro) + shown_wide(error.detail) + std::u16string(root_element_middle) +
             shown_wide(error.expected) + std::u16string(full_stop);
    case document_failure::too_deep:
      return std::u16string(nested_too_deeply);
    case document_failure::changed:
      return std::u16string(changed_on_every_attempt);
    case document_failure::lock_not_a_file:
      return std::u16string(lock_is_not_a_file);
    case document_failure::unsupported_encoding:
      return std::u16string(unsupported_encoding_intro) + shown_wide(error.detail) +
             std::u16string(unsupported_encoding_detail);
    case document_failure::invalid_text:
      return std::u16string(invalid_text_intro) + shown_wide(error.detail) + std::u16string(invalid_text_detail);
    case document_failure::out_of_memory:
      return std::u16string(out_of_memory);
    case document_failure::system_call:
    case document_failure::lock_failed:
      break;
    // Told otherwise: by document_error_reason itself, or by a message of their own.
    case document_failure::none:
    case document_failure::malformed:
    case document_failure::lock_timed_out:
    case document_failure::lock_wait_stopped:
    case document_failure::too_large:
      break;
  }
  return platform_text(error.code);
}

}  // namespace

std::u16string platform_text(int code) {
  std::u16string text = system_message_wide(code);
  return text.empty() ? std::u16string(unknown_error) : text;
}

std::u16string failure_message(const system_error& error) {
  const wide_path* path = error.path();
  std::u16string message;
  if (error.operation() == "current_path()") {
    message = working_directory_unreadable;
  } else if (error.operation().empty()) {
    message = path ? std::u16string(name_intro) + *path + std::u16string(name_without_text)
                   : std::u16string(some_name_without_text);
  } else {
    message = path ? std::u16string(path_intro) + *path + std::u16string(path_unresolved)
                   : std::u16string(some_path_unresolved);
  }
  return message + std::u16string(reason_separator) + platform_text(error.code());
}

std::u16string project_locked_message(const wide_path& project_file) {
  return std::u16string(project_locked_intro) + host_spelling(project_file) + std::u16string(project_locked_middle) +
         number(static_cast<size_t>(std::chrono::duration_cast<std::chrono::seconds>(lock_patience).count())) +
         std::u16string(project_locked_detail);
}

std::u16string document_error_reason(const document_error& error) {
  if (error.failure == document_failure::none || error.failure == document_failure::lock_timed_out ||
      error.failure == document_failure::too_large) {
    // Told by a message of their own.
    return {};
  }
  std::u16string reason = host_spelling(error.file);
  if (error.failure == document_failure::malformed) {
    return reason + std::u16string(line_intro) + number(error.line) + std::u16string(reason_separator) +
           shown_wide(error.detail);
  }
  if (!reason.empty()) reason += reason_separator;
  return reason + why_it_failed(error);
}

}  // namespace addfolder
