// Every text that the program shows to the user, in one place; only the
// lines for problems met while scanning, which go to the error stream in its
// own code page, are made in app/scan_problem_lines.cpp.
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

// The start of every error line of the terminal program.
inline constexpr std::u16string_view error_line_prefix = u"Error: ";

// The terminal program asks again for a typed text that names no folder.
inline constexpr std::u16string_view not_a_folder = u"Not a folder: ";

// Parts of the messages about a failed system call: the problem, then ": "
// and the system's own words.
inline constexpr std::u16string_view working_directory_unreadable = u"The working directory cannot be read";
inline constexpr std::u16string_view name_intro = u"The name ";
inline constexpr std::u16string_view name_without_text = u" cannot be written as text";
inline constexpr std::u16string_view some_name_without_text = u"A name cannot be written as text";
inline constexpr std::u16string_view path_intro = u"The path ";
inline constexpr std::u16string_view path_unresolved = u" cannot be resolved";
inline constexpr std::u16string_view some_path_unresolved = u"A path cannot be resolved";
inline constexpr std::u16string_view reason_separator = u": ";

// Title of the folder choice, in the dialog and on the terminal prompt.
inline constexpr std::u16string_view folder_choice_title = u"Select folder to be added to the project";

}  // namespace addfolder
