#include "failure_message.h"

#include "messages.h"

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

}  // namespace addfolder
