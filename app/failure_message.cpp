#include "failure_message.h"

#include "messages.h"
#include "text_conversion.h"

namespace addfolder {

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
  return message + std::u16string(reason_separator) + system_message_wide(error.code());
}

std::u16string document_failure_message(std::u16string_view message, const document_text_problem& problem) {
  std::u16string text(message);
  const std::u16string encoding = shown_wide(problem.encoding);
  switch (problem.why) {
    case document_text_problem::reason::none:
      break;
    case document_text_problem::reason::unsupported_encoding:
      text += u"\n" + std::u16string(unsupported_encoding_intro) + encoding +
              std::u16string(unsupported_encoding_detail);
      break;
    case document_text_problem::reason::invalid_text:
      text += u"\n" + std::u16string(invalid_text_intro) + encoding + std::u16string(invalid_text_detail);
      break;
  }
  return text;
}

}  // namespace addfolder
