#include "file_names.h"

#include "file_system.h"

namespace addfolder {

wide_path project_file_name(const command_arguments& arguments, wide_view extension) {
  wide_path name = arguments.project_directory;
  name += host_separator;
  name += arguments.project_name;
  name += extension;
  return name;
}

}  // namespace addfolder
