#include "system_error.h"

#include "text_conversion.h"

namespace addfolder {

system_error::system_error(int code, std::string operation, std::optional<wide_path> path)
    : code_(code), operation_(std::move(operation)), path_(std::move(path)) {
  // A conversion error describes itself by the system message alone. So does an
  // error whose path has no narrow form: its description is that conversion's.
  const std::string message = system_message(code_);
  if (operation_.empty()) {
    description_ = message;
    return;
  }
  std::string path_text;
  if (path_) {
    try {
      path_text = to_error_text(*path_);
    } catch (const system_error& conversion) {
      description_ = conversion.what();
      return;
    }
  }
  description_ = operation_ + ": " + message;
  if (path_) description_ += ": \"" + path_text + "\"";
}

}  // namespace addfolder
