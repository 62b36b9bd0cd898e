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

void append_backslash_name_line(std::string& lines, wide_view directory, wide_view name) {
  // Only POSIX hosts allow such a name, and their error text is UTF-8, which
  // holds every name that reached the walk.
  lines += "Skipped \"";
  lines += to_error_text(name);
  lines += "\" in ";
  lines += to_error_text(directory);
  lines += ": a name that holds \"\\\" cannot be named in a Windows project\n";
}

void append_exception_line(std::string& lines, const system_error& error) {
  lines += "Exception :: ";
  lines += error.what();
  lines += '\n';
}

}  // namespace addfolder
