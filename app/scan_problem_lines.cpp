#include "scan_problem_lines.h"

#include <iostream>

#include "system_error.h"
#include "text_conversion.h"

namespace addfolder {
namespace {

void append_exception_line(std::string& lines, const system_error& error) {
  lines += "Exception :: ";
  lines += error.what();
  lines += '\n';
}

void append_access_error_line(std::string& lines, wide_view path, int code) {
  lines += "Error While Accessing : ";
  try {
    lines += to_error_text(path);
  } catch (const system_error& conversion) {
    append_exception_line(lines, conversion);
    return;
  }
  lines += " :: ";
  lines += system_message(code);
  lines += '\n';
}

void append_backslash_name_line(std::string& lines, wide_view folder, wide_view name) {
  // Only POSIX hosts allow such a name, and their error text is UTF-8, which
  // holds every name that reached the walk.
  lines += "Skipped \"";
  lines += to_error_text(name);
  lines += "\" in ";
  lines += to_error_text(folder);
  lines += ": a name that holds \"\\\" cannot be named in a Windows project\n";
}

void append_line(std::string& lines, const scan_problem& problem) {
  switch (problem.kind) {
    case scan_problem_kind::unreadable_folder:
      append_access_error_line(lines, problem.path, problem.code);
      break;
    case scan_problem_kind::failed_call:
      append_exception_line(lines, system_error(problem.code, problem.operation, problem.path));
      break;
    case scan_problem_kind::backslash_name:
      append_backslash_name_line(lines, problem.path, problem.name);
      break;
  }
}

}  // namespace

std::string scan_problem_lines(const scan_problem_list& problems) {
  std::string lines;
  for (const scan_problem& problem : problems) {
    if (problem.met_by_sources) append_line(lines, problem);
  }
  for (const scan_problem& problem : problems) {
    if (problem.met_by_headers) append_line(lines, problem);
  }
  return lines;
}

void write_scan_problems(const scan_problem_list& problems) {
  const std::string lines = scan_problem_lines(problems);
  std::cerr.write(lines.data(), static_cast<std::streamsize>(lines.size()));
  std::cerr.flush();
}

}  // namespace addfolder
