#include "app/command_line.h"

namespace addfolder {

bool read_arguments(const std::vector<wide_path>& argument_list, command_arguments& arguments) {
  if (argument_list.size() < 3) return false;
  arguments.project_directory = argument_list[1];
  arguments.project_name = argument_list[2];
  return true;
}

}  // namespace addfolder
