// The Windows program that the IDE's Tools menu starts.
#include <windows.h>
#include <objbase.h>

#include <vector>

#include "app/command_line.h"
#include "app/exit_codes.h"
#include "app/folder_choice.h"
#include "app/folder_dialog.h"
#include "app/message_box.h"
#include "app/messages.h"
#include "app/program_version.h"
#include "app/run_sequence.h"
#include "app/scan_problem_lines.h"

namespace addfolder {
namespace {

int run_gui() {
  std::vector<wide_path> argument_list;
  if (!split_process_command_line(argument_list)) {
    show_error_box(unable_to_parse_command_line);
    return exit_command_line_error;
  }
  if (asks_for_version(argument_list)) {
    show_version_box(version_text());
    return exit_success;
  }
  command_arguments arguments;
  if (!read_arguments(argument_list, arguments)) {
    show_error_box(missing_arguments);
    return exit_command_line_error;
  }

  // The shell's folder dialog needs a single-threaded apartment.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  // The shell cannot place a relative path such as "."; the dialog gets the
  // full path that the terminal front end would take for the same text.
  const wide_path preselected = typed_folder(arguments.project_directory).value_or(arguments.project_directory);
  wide_path folder;
  const folder_dialog_end end = choose_folder(preselected, folder);
  if (SUCCEEDED(com)) CoUninitialize();

  if (end == folder_dialog_end::cancelled) return exit_success;
  if (end == folder_dialog_end::no_file_system_path) {
    show_error_box(folder_without_path);
    return exit_failure;
  }
  scan_problem_list problems;
  const run_outcome outcome = run_sequence(arguments, folder, problems);
  write_scan_problems(problems);
  if (!outcome.message.empty()) show_error_box(outcome.message);
  return outcome.exit_code;
}

}  // namespace
}  // namespace addfolder

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return addfolder::run_gui(); }
