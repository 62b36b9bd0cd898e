#include "app/failure_message.h"

namespace addfolder {

std::u16string failure_message(const system_error& error) {
  const wide_path reason = system_message_wide(error.code());
  const wide_path* path = error.path();
  std::u16string message;
  if (error.operation() == "current_path()") {
    message = u"The working directory cannot be read";
  } else if (error.operation().empty()) {
    message = path ? u"The name " + *path + u" cannot be written as text" : u"A name cannot be written as text";
  } else {
    message = path ? u"The path " + *path + u" cannot be resolved" : u"A path cannot be resolved";
  }
  return message + u": " + reason;
}

}  // namespace addfolder
