// Every text that the program shows to the user, in one place.
#pragma once

#include <string_view>

namespace addfolder {

// The program's name: the caption of the version box, and the start of the version text.
inline constexpr std::u16string_view program_name = u"addfolder";

// Caption of every error message box.
inline constexpr std::u16string_view error_caption = u"Error";

// The platform could not split the command line.
inline constexpr std::u16string_view unable_to_parse_command_line = u"Unable to parse command line";

// Fewer than two arguments were given.
inline constexpr std::u16string_view missing_arguments =
    u"Expected two arguments: the project directory and the project name.";

// The project file could not be read, parsed or written.
inline constexpr std::u16string_view project_file_error = u"Error while accessing the required EWP file.";

// The connection file could not be read, parsed or written.
inline constexpr std::u16string_view connection_file_error = u"Error while accessing the required IPCF file.";

// The chosen folder has no relative form: it lies on another drive or share.
inline constexpr std::u16string_view other_drive_intro = u"The folder ";
inline constexpr std::u16string_view other_drive_detail =
    u" is on another drive than the working directory, so it cannot be named relative to $PROJ_DIR$. "
    u"Choose a folder on the project's drive.";

// The folder dialog confirmed an item that has no file-system path.
inline constexpr std::u16string_view folder_without_path =
    u"The chosen folder has no path in the file system. Please choose a folder on a drive.";

// Memory ran out during the run.
inline constexpr std::u16string_view out_of_memory = u"There is not enough memory to add the folder.";

// Title of the folder choice, in the dialog and on the terminal prompt.
inline constexpr std::u16string_view folder_choice_title = u"Select folder to be added to the project";

}  // namespace addfolder
