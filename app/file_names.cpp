#include "file_names.h"

#include "file_name_match.h"
#include "file_system.h"

namespace addfolder {

wide_path project_file_name(wide_view directory, wide_view project_name, wide_view extension) {
  wide_path name(directory);
  append_element(name, project_name);
  name += extension;
  return name;
}

wide_path project_name_of(const command_arguments& arguments) {
  constexpr wide_view extension = u".ewp";
  const wide_path& name = arguments.project_name;
  if (name.size() <= extension.size() ||
      !same_file_name(wide_view(name).substr(name.size() - extension.size()), extension, name_rule::ignoring_case)) {
    return name;
  }
  file_kind kind = file_kind::not_found;
  const wide_path doubled = project_file_name(arguments.project_directory, name, extension);
  if (query_status(doubled, kind) == 0 && kind != file_kind::not_found) return name;
  return name.substr(0, name.size() - extension.size());
}

}  // namespace addfolder
