// The names of the two files that a run reads and writes.
#pragma once

#include "command_line.h"
#include "path.h"

namespace addfolder {

// The directory, a "\" unless it ends in a separator, the project name and
// the extension (".ewp" or ".ipcf").
wide_path project_file_name(wide_view directory, wide_view project_name, wide_view extension);

// The project name that a run uses: as typed, but without a trailing ".ewp"
// in any letter case, unless a file NAME.ewp.ewp is there.
wide_path project_name_of(const command_arguments& arguments);

}  // namespace addfolder
