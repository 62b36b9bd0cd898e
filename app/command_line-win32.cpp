#include <windows.h>
#include <shellapi.h>

#include "command_line.h"
#include "win32_path.h"

namespace addfolder {

bool split_process_command_line(std::vector<wide_text>& argument_list) {
  return split_command_line(from_win32_text(GetCommandLineW()), argument_list);
}

bool split_command_line(wide_text_view line, std::vector<wide_text>& argument_list) {
  const std::wstring native = to_win32_text(line);
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(native.c_str(), &count);
  if (arguments == nullptr) return false;
  argument_list.clear();
  for (int i = 0; i < count; ++i) argument_list.push_back(from_win32_text(arguments[i]));
  LocalFree(arguments);
  return true;
}

}  // namespace addfolder
