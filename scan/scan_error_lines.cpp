#include "scan/scan_error_lines.h"

#include "scan/text_conversion.h"

namespace addfolder {

void append_access_error_line(std::string& lines, wide_view path, int code) {
  lines += "Error While Accessing : ";
  try {
    lines += to_error_text(path);
  } catch (const system_error& conversion) {
    append_exception_line(lines, conversion);
    return;
  }
  lines += " :: ";
  lines += system_message(code);
  lines += '\n';
}

void append_exception_line(std::string& lines, const system_error& error) {
  lines += "Exception :: ";
  lines += error.what();
  lines += '\n';
}

}  // namespace addfolder
