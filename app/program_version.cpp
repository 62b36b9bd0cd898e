#include "app/program_version.h"

#include <algorithm>

#include "app/messages.h"
#include "app/version_number.h"

namespace addfolder {

std::u16string version_text() {
  std::u16string text(program_name);
  text += u" " ADDFOLDER_VERSION_TEXT;
  return text;
}

bool asks_for_version(const std::vector<wide_path>& argument_list) {
  if (argument_list.empty()) return false;
  return std::find(argument_list.begin() + 1, argument_list.end(), version_option) != argument_list.end();
}

}  // namespace addfolder
