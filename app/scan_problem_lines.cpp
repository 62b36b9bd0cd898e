#include "scan_problem_lines.h"

#include <iostream>

#include "failure_message.h"
#include "messages.h"
#include "system_error.h"
#include "text_conversion.h"

namespace addfolder {
namespace {

wide_text problem_text(const scan_problem& problem) {
  wide_text line;
  switch (problem.kind) {
    case scan_problem_kind::unreadable_folder:
      line = wide_text(access_error_intro) + problem.path + wide_text(access_error_separator);
      return line + platform_text(problem.code);
    case scan_problem_kind::failed_call:
      line = wide_text(exception_intro) + to_wide(problem.operation) + wide_text(description_separator);
      return line + platform_text(problem.code) + wide_text(description_separator) + u"\"" + problem.path + u"\"";
    case scan_problem_kind::backslash_name:
      break;
  }
  line = wide_text(skipped_name_intro) + problem.name + wide_text(skipped_name_middle) + problem.path;
  return line + wide_text(skipped_name_detail);
}

// Calls visit for every problem, those of the source files first.
template <typename Visit>
void for_each_in_order(const scan_problem_list& problems, Visit visit) {
  for (const scan_problem& problem : problems) {
    if (problem.met_by_sources) visit(problem);
  }
  for (const scan_problem& problem : problems) {
    if (problem.met_by_headers) visit(problem);
  }
}

// A line in the error stream's code page. A path that has no form there is
// named by the conversion's own exception line instead.
std::string error_stream_line(const scan_problem& problem) {
  try {
    return to_error_text(problem_text(problem)) + '\n';
  } catch (const system_error& conversion) {
    std::string line = problem.kind == scan_problem_kind::unreadable_folder ? to_error_text(access_error_intro) : "";
    return line + to_error_text(wide_text(exception_intro) + platform_text(conversion.code())) + '\n';
  }
}

}  // namespace

std::vector<wide_text> scan_problem_texts(const scan_problem_list& problems) {
  std::vector<wide_text> lines;
  for_each_in_order(problems, [&](const scan_problem& problem) { lines.push_back(problem_text(problem)); });
  return lines;
}

std::string scan_problem_lines(const scan_problem_list& problems) {
  std::string lines;
  for_each_in_order(problems, [&](const scan_problem& problem) { lines += error_stream_line(problem); });
  return lines;
}

void write_scan_problems(const scan_problem_list& problems) {
  const std::string lines = scan_problem_lines(problems);
  std::cerr.write(lines.data(), static_cast<std::streamsize>(lines.size()));
  std::cerr.flush();
}

}  // namespace addfolder
