#include "program_version.h"

#include "messages.h"
#include "version_number.h"

namespace addfolder {

std::u16string version_text() {
  std::u16string text(program_name);
  text += u" " ADDFOLDER_VERSION_TEXT;
  return text;
}

}  // namespace addfolder
