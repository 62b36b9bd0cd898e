// The names of the two files that a run reads and writes.
#pragma once

#include "command_line.h"
#include "path.h"

namespace addfolder {

// The project directory, the host's separator, the project name and the
// extension (".ewp" or ".ipcf"). The directory is used as typed, so a trailing
// separator gives two in a row, which every host reads as one.
wide_path project_file_name(const command_arguments& arguments, wide_view extension);

// The project name that a run uses: as typed, but without a trailing ".ewp"
// in any letter case, unless a file NAME.ewp.ewp is there.
wide_path project_name_of(const command_arguments& arguments);

}  // namespace addfolder
