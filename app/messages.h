// Every text that the program shows to the user, in one place.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace addfolder {

// The program's name: the caption of every box that is no error, and the
// start of the version text.
inline constexpr std::u16string_view program_name = u"addfolder";

// The buttons of the window that shows the help, the version and reports.
inline constexpr std::u16string_view copy_button_text = u"Copy";
inline constexpr std::u16string_view close_button_text = u"Close";

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

// Why a document did not load, on the line after its message: its
// declaration names an encoding that the program does not read, or its text
// is not valid in its encoding. Each names the encoding.
inline constexpr std::u16string_view unsupported_encoding_intro = u"The encoding ";
inline constexpr std::u16string_view unsupported_encoding_detail = u" is not supported.";
inline constexpr std::u16string_view invalid_text_intro = u"The file holds text that is not valid ";
inline constexpr std::u16string_view invalid_text_detail = u".";

// The chosen folder has no relative form: it lies on another drive or share.
inline constexpr std::u16string_view other_drive_intro = u"The folder ";
inline constexpr std::u16string_view other_drive_detail =
    u" is on another drive than the project directory, so it cannot be named relative to $PROJ_DIR$. "
    u"Choose a folder on the project's drive.";

// The folder dialog confirmed an item that has no file-system path.
inline constexpr std::u16string_view folder_without_path =
    u"The chosen folder has no path in the file system. Please choose a folder on a drive.";

// Memory ran out during the run.
inline constexpr std::u16string_view out_of_memory = u"There is not enough memory to add the folder.";

// A command line that the program cannot read.
inline constexpr std::u16string_view unknown_option = u"Unknown option: ";
inline constexpr std::u16string_view option_without_value_intro = u"The option ";
inline constexpr std::u16string_view option_without_value_detail = u" needs a value.";
inline constexpr std::u16string_view invalid_pattern = u"Invalid pattern: ";
inline constexpr std::u16string_view invalid_jobs = u"The option --jobs needs a number from 1 to 64: ";
inline constexpr std::u16string_view invalid_groups = u"The option --groups needs tree or flat: ";
inline constexpr std::u16string_view base_without_folder = u"The option --base needs NAME=DIR: ";
// A NAME of --base or of the sync file's [base] that is no custom argument
// variable, and one given twice: intro, NAME, detail.
inline constexpr std::u16string_view invalid_argument_variable = u"Invalid argument variable: ";
inline constexpr std::u16string_view argument_variable_twice_intro = u"The argument variable ";
inline constexpr std::u16string_view argument_variable_twice_detail = u" is given twice.";
// Options that do not go together: the intro, one option, the middle, the
// other, the detail.
inline constexpr std::u16string_view options_conflict_intro = u"The options ";
inline constexpr std::u16string_view options_conflict_middle = u" and ";
inline constexpr std::u16string_view options_conflict_detail = u" cannot be given together.";
// A [[folder]] table names one file of patterns.
inline constexpr std::u16string_view save_one_exclusion_file =
    u"The option --save records one --exclude-from for a folder; put the patterns in one file.";
// A value that holds a double quote: after invalid_pattern and the value,
// stray_quote_intro, the value before the quote, stray_quote_middle, that
// again, stray_quote_detail.
inline constexpr std::u16string_view stray_quote_intro =
    u" (a \\ before a closing quote escapes the quote; write ";
inline constexpr std::u16string_view stray_quote_middle = u"/ or \"";
inline constexpr std::u16string_view stray_quote_detail = u"\\\\\")";
inline constexpr std::u16string_view unreadable_exclusion_file_intro = u"The exclusion file ";
inline constexpr std::u16string_view unreadable_exclusion_file_detail = u" cannot be read.";
inline constexpr std::u16string_view exclusion_file_not_text_detail = u" is not UTF-8 or UTF-16 text.";
inline constexpr std::u16string_view exclusion_file_too_large_detail = u" is too large (over 1 MiB).";
// A pattern too long to show whole is cut after this many characters.
inline constexpr size_t most_shown_pattern_characters = 60;
inline constexpr std::u16string_view cut_text_mark = u"\u2026";

// The sync file: what is wrong in it, after "FILE:LINE:COLUMN: ".
inline constexpr std::u16string_view sync_unknown_key = u"unknown key ";
inline constexpr std::u16string_view sync_not_strings = u" must be an array of strings";
inline constexpr std::u16string_view sync_not_a_string = u" must be a string";
inline constexpr std::u16string_view sync_not_a_boolean = u" must be true or false";
inline constexpr std::u16string_view sync_not_folder_tables = u" must be [[folder]] tables";
inline constexpr std::u16string_view sync_not_a_table = u" must be a table";
inline constexpr std::u16string_view sync_not_a_layout = u" must be \"tree\" or \"flat\"";
inline constexpr std::u16string_view sync_folder_without_path = u"[[folder]] without \"path\"";
inline constexpr std::u16string_view sync_empty_name = u" is empty";
inline constexpr std::u16string_view sync_impossible_name = u" holds \" or NUL, which no Windows name holds";
inline constexpr std::u16string_view sync_folder_twice_detail = u" is named by two [[folder]] tables; the first is on line ";
inline constexpr std::u16string_view sync_file_not_toml = u"not a TOML file";
// The sync file cannot be read or written: the intro, its name, the detail.
inline constexpr std::u16string_view sync_file_intro = u"The sync file ";
inline constexpr std::u16string_view sync_file_unreadable_detail = u" cannot be read.";
inline constexpr std::u16string_view sync_file_unwritable_detail = u" cannot be written.";
// --sync and no sync file: the intro, its name, the detail.
inline constexpr std::u16string_view no_sync_file_intro = u"There is no sync file ";
inline constexpr std::u16string_view no_sync_file_detail = u".";
// A folder of the sync file that does not exist: not_a_folder, the folder as
// written, the intro, the file, the middle, the line, the detail.
inline constexpr std::u16string_view sync_folder_missing_intro = u" (";
inline constexpr std::u16string_view sync_folder_missing_middle = u", line ";
inline constexpr std::u16string_view sync_folder_missing_detail = u")";
// --remove and a folder that the sync file still names: the folder, the
// intro, the file, the detail.
inline constexpr std::u16string_view removed_folder_kept_intro = u" is still in ";
inline constexpr std::u16string_view removed_folder_kept_detail = u"; the next --sync adds it again.";
// The name of the sync file: the project name, then this.
inline constexpr std::u16string_view sync_file_extension = u".addfolder.toml";
// --save and a folder, or a base's NAME, that the sync file names: folder or
// NAME, intro, file, detail.
inline constexpr std::u16string_view sync_folder_saved_intro = u" is in ";
inline constexpr std::u16string_view sync_folder_saved_detail = u" already; change it there.";
// --save and a sync file that takes no table at its end: folder, intro, file, detail.
inline constexpr std::u16string_view sync_folder_not_appendable_intro = u" cannot be added at the end of ";
inline constexpr std::u16string_view sync_folder_not_appendable_detail = u"; add it there by hand.";
// --save and a base that the sync file's bases, not under a [base] header,
// cannot take: NAME, intro, file, detail (sync_folder_not_appendable_detail).
inline constexpr std::u16string_view sync_base_not_addable_intro = u" cannot be added to the [base] table of ";
// The first line of a sync file that --save makes, before the connection file's name.
inline constexpr std::u16string_view sync_file_heading = u"# Folders that addfolder keeps in sync with ";

// Another run held the project's lock for the whole time that a run waits:
// the intro, the project file, the middle, the patience in seconds, the detail.
inline constexpr std::u16string_view project_locked_intro = u"Another run of addfolder is changing the project ";
inline constexpr std::u16string_view project_locked_middle = u" and has not finished within ";
inline constexpr std::u16string_view project_locked_detail = u" seconds. Nothing was changed.";

// The second line of a file's message: the full path that was tried, then
// why it failed: reason_separator and the platform's own text for its code
// or one of these sentences; for XML that does not parse, line_intro, the
// line, reason_separator and the parser's description.
inline constexpr std::u16string_view unknown_error = u"unknown error";
inline constexpr std::u16string_view is_read_only = u"The file is read-only.";
inline constexpr std::u16string_view is_not_a_file = u"It is not a file.";
inline constexpr std::u16string_view line_intro = u", line ";
inline constexpr std::u16string_view root_element_intro = u"The root element is ";
inline constexpr std::u16string_view root_element_middle = u", not ";
inline constexpr std::u16string_view full_stop = u".";
inline constexpr std::u16string_view nested_too_deeply = u"The document is nested too deeply to be written.";
inline constexpr std::u16string_view changed_on_every_attempt =
    u"Another program changed the file each time this run read it.";
inline constexpr std::u16string_view lock_is_not_a_file = u"The project's lock is not a file; remove it.";

// With --prune, a walk that could not read part of the folder removes nothing.
inline constexpr std::u16string_view prune_skipped =
    u"Nothing was removed, since part of the folder could not be read.";

// A dry run or check that finds nothing to change.
inline constexpr std::u16string_view in_sync = u"The project is in sync with the folder.";

// The words of the report of a dry run or check, one line a change:
// "+ " or "- ", the file, ": ", the section or "group NAME", ": ", the text.
inline constexpr std::u16string_view added_mark = u"+ ";
inline constexpr std::u16string_view removed_mark = u"- ";
inline constexpr std::u16string_view report_separator = u": ";
inline constexpr std::u16string_view group_word = u"group";
inline constexpr std::u16string_view folder_word = u"folder";
inline constexpr std::u16string_view base_word = u"base";
// The words of the summary line, such as
//   blinky.ewp: added the reference to blinky.ipcf; blinky.ipcf: added 7 files in 3 groups
inline constexpr std::u16string_view reference_added = u": added the reference to ";
inline constexpr std::u16string_view file_separator = u"; ";
inline constexpr std::u16string_view added_word = u"added";
inline constexpr std::u16string_view removed_word = u"removed";
inline constexpr std::u16string_view one_file = u"file";
inline constexpr std::u16string_view many_files = u"files";
inline constexpr std::u16string_view one_group = u"group";
inline constexpr std::u16string_view many_groups = u"groups";
inline constexpr std::u16string_view many_folders = u"folders";
inline constexpr std::u16string_view one_include_directory = u"include directory";
inline constexpr std::u16string_view many_include_directories = u"include directories";
inline constexpr std::u16string_view one_empty_group = u"empty group";
inline constexpr std::u16string_view many_empty_groups = u"empty groups";
inline constexpr std::u16string_view in_word = u" in ";
inline constexpr std::u16string_view list_and = u" and ";
inline constexpr std::u16string_view list_comma = u", ";
inline constexpr std::u16string_view nothing_changed = u"nothing to add or remove";

// A dry run or check whose walk could not read part of the folder.
inline constexpr std::u16string_view check_incomplete =
    u"The check is incomplete, since part of the folder could not be read.";

// The lines for problems met while scanning.
inline constexpr std::u16string_view access_error_intro = u"Error While Accessing : ";
inline constexpr std::u16string_view access_error_separator = u" :: ";
inline constexpr std::u16string_view exception_intro = u"Exception :: ";
inline constexpr std::u16string_view description_separator = u": ";
inline constexpr std::u16string_view skipped_name_intro = u"Skipped \"";
inline constexpr std::u16string_view skipped_name_middle = u"\" in ";
inline constexpr std::u16string_view skipped_name_detail =
    u": a name that holds \"\\\" cannot be named in a Windows project";

// A message box shows this many lines of a longer text, then how many more there are.
inline constexpr size_t most_box_lines = 40;
inline constexpr std::u16string_view more_lines_intro = u"\u2026 and ";
inline constexpr std::u16string_view more_lines_detail = u" more";

// The usage that --help shows: every option in one line, and an example.
inline constexpr std::u16string_view usage[] = {
    u"Usage: addfolder PROJECT_DIR PROJECT_NAME [OPTIONS]",
    u"Adds a folder of sources to an IAR Embedded Workbench project: writes PROJECT_NAME.ipcf",
    u"beside PROJECT_NAME.ewp and makes the project reference it.",
    u"",
    u"Options:",
    u"  --folder DIR         a folder to add, relative to the working directory, with no dialog",
    u"                       and no prompt; may be given more than once",
    u"  --sync               keep every folder that PROJECT_NAME.addfolder.toml names in sync,",
    u"                       each with its own patterns; no dialog, no prompt",
    u"  --save               record the run's folders in PROJECT_NAME.addfolder.toml, with this",
    u"                       run's --exclude, --exclude-from, --prune, --groups and --base",
    u"  --remove DIR         take out of PROJECT_NAME.ipcf what lies within DIR, relative to the",
    u"                       working directory; DIR need not exist; may be given more than once",
    u"  --exclude PATTERN    leave out what PATTERN matches; may be given more than once",
    u"  --exclude-from FILE  leave out what the patterns in FILE match, one a line",
    u"  --prune              also remove what each folder no longer provides",
    u"  --groups tree|flat   group each folder's files as a tree of folders, or one group per",
    u"                       folder (default: flat)",
    u"  --base NAME=DIR      name what lies in DIR by the IDE's argument variable $NAME$, DIR",
    u"                       relative to the working directory; may be given more than once",
    u"  --dry-run            report every change that the run would make, and write nothing",
    u"  --check              as --dry-run, but exit with 1 when there is any change",
    u"  --quiet              no summary line and no progress",
    u"  --jobs N             list folders on N threads (default: the processor's threads, at most 8)",
    u"  --help, -h           show this help",
    u"  --version            show the program's name and version",
    u"",
    u"Patterns: * any characters within a name, ? one character, [abc] [a-z] [!a] classes,",
    u"** any number of folders. With a / or \\ inside, a pattern starts at the folder;",
    u"without, it matches a name at any depth. A trailing / matches folders only.",
    u"",
    u"Examples:",
    u"  addfolder . blinky --folder Drivers --exclude gcc/ --exclude arm/ --exclude \"*_template.c\" --prune",
    u"  addfolder . blinky --folder Drivers --exclude gcc/ --prune --save",
    u"  addfolder . blinky --sync --quiet",
};

// The start of every error line of the terminal program.
inline constexpr std::u16string_view error_line_prefix = u"Error: ";

// The terminal program's question for the folder: the title, then the
// preselected folder in brackets.
inline constexpr std::u16string_view prompt_default_intro = u" [";
inline constexpr std::u16string_view prompt_default_end = u"]: ";

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

// How far a long walk has come, on the terminal and in the progress window,
// shown after progress_delay and redrawn at most every progress_interval.
inline constexpr std::chrono::milliseconds progress_delay{500};
inline constexpr std::chrono::milliseconds progress_interval{100};
inline constexpr std::u16string_view progress_intro = u"Scanning: ";
inline constexpr std::u16string_view progress_files = u" files, ";
inline constexpr std::u16string_view progress_folders = u" folders";
// The button of the progress window that stops the run before it writes.
inline constexpr std::u16string_view cancel_label = u"Cancel";
inline std::u16string progress_text(std::size_t files, std::size_t folders) {
  const auto number = [](std::size_t n) {
    std::u16string digits;
    do {
      digits.insert(digits.begin(), static_cast<char16_t>(u'0' + n % 10));
      n /= 10;
    } while (n != 0);
    return digits;
  };
  return std::u16string(progress_intro) + number(files) + std::u16string(progress_files) + number(folders) +
         std::u16string(progress_folders);
}

// Title of the folder choice, in the dialog and on the terminal prompt.
inline constexpr std::u16string_view folder_choice_title = u"Select folder to be added to the project";

}  // namespace addfolder
