// The folder-browse dialog of the Windows program.
#pragma once

#include "path.h"

namespace addfolder {

// How the dialog ended.
enum class folder_dialog_end { chosen, cancelled, no_file_system_path };

// Shows the modal folder-browse dialog with the project directory preselected.
// On folder_dialog_end::chosen, folder holds the full path of the folder.
folder_dialog_end choose_folder(const wide_path& project_directory, wide_path& folder);

}  // namespace addfolder
