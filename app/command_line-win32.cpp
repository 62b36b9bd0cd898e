#include <windows.h>
#include <shellapi.h>

#include "command_line.h"
#include "win32_path.h"

namespace addfolder {

bool split_process_command_line(std::vector<wide_text>& argument_list) {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr) return false;
  argument_list.clear();
  for (int i = 0; i < count; ++i) argument_list.push_back(from_win32_text(arguments[i]));
  LocalFree(arguments);
  return true;
}

}  // namespace addfolder
