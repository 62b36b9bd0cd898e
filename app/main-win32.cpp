// The Windows program that the IDE's Tools menu starts.
#include <windows.h>
#include <objbase.h>

#include <vector>

#include "change_report.h"
#include "command_line.h"
#include "exit_codes.h"
#include "folder_choice.h"
#include "folder_dialog.h"
#include "message_box.h"
#include "messages.h"
#include "program.h"
#include "progress_window.h"
#include "report_window.h"
#include "scan_problem_lines.h"

namespace addfolder {
namespace {

folder_answer ask_with_dialog(const wide_path& project_directory) {
  // The shell's folder dialog needs a single-threaded apartment.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  // The shell cannot place a relative path such as "."; the dialog gets the
  // full path that the terminal front end would take for the same text.
  const wide_path preselected = typed_folder(project_directory).value_or(project_directory);
  wide_path folder;
  const folder_dialog_end end = choose_folder(preselected, folder);
  if (SUCCEEDED(com)) CoUninitialize();

  if (end == folder_dialog_end::chosen) return folder_answer{folder, {}};
  if (end == folder_dialog_end::no_file_system_path) {
    return folder_answer{std::nullopt, failure(exit_failure, folder_without_path)};
  }
  return folder_answer{};
}

// A file's message and, after a blank line, why.
void show_error_with_reason(wide_text_view message, wide_text_view reason) {
  wide_text text(message);
  if (!reason.empty()) text += u"\n\n" + wide_text(reason);
  show_error_box(text);
}

int run_gui() {
  std::vector<wide_text> argument_list;
  if (!split_process_command_line(argument_list)) {
    show_error_box(unable_to_parse_command_line);
    return exit_command_line_error;
  }
  front_end gui;
  gui.show_error = show_error_with_reason;
  gui.show_lines = show_report_window;
  // A completed run shows nothing: the IDE shows the new files.
  gui.show_summary = [](wide_text_view) {};
  gui.show_note = [](wide_text_view note) { show_info_box(note); };
  // A GUI program has no standard error, so the scan's problems get a box.
  gui.show_problems = [](const scan_problem_list& problems) {
    show_report_window(lines_for_box(scan_problem_texts(problems)));
  };
  gui.ask_for_folder = ask_with_dialog;
  gui.watch_run = watch_gui_run;
  return run_program(argument_list, gui);
}

}  // namespace
}  // namespace addfolder

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return addfolder::run_gui(); }
