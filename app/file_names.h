// The names of the two files that a run reads and writes.
#pragma once

#include "command_line.h"
#include "path.h"

namespace addfolder {

// The project directory, the host's separator, the project name and the
// extension (".ewp" or ".ipcf"). The directory is used as typed, so a trailing
// separator gives two in a row, which every host reads as one.
wide_path project_file_name(const command_arguments& arguments, wide_view extension);

}  // namespace addfolder
