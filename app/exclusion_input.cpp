#include "exclusion_input.h"

#include "exclusion_lines.h"
#include "file_bytes.h"
#include "messages.h"
#include "user_pattern.h"

namespace addfolder {
namespace {

// An exclusion file is a short list of patterns; anything larger is no such list.
constexpr size_t most_exclusion_file_bytes = 1 << 20;

}  // namespace

run_outcome read_exclusion_file(const wide_path& file, wide_view shown, std::vector<wide_text>& patterns) {
  file_bytes bytes;
  const wide_text intro = wide_text(unreadable_exclusion_file_intro) + wide_text(shown);
  if (const document_error failed = read_whole_file(file, bytes, nullptr, most_exclusion_file_bytes)) {
    const bool too_large = failed.failure == document_failure::too_large;
    return failure(exit_command_line_error,
                   intro + wide_text(too_large ? exclusion_file_too_large_detail : unreadable_exclusion_file_detail));
  }
  const bool text = parse_exclusion_lines(std::string_view(bytes.data, bytes.size), patterns);
  release_file_bytes(bytes);
  if (!text) return failure(exit_command_line_error, intro + wide_text(exclusion_file_not_text_detail));
  return {};
}

run_outcome read_command_line_patterns(const command_line& line, std::vector<wide_text>& patterns) {
  patterns = line.exclude_patterns;
  for (const wide_path& file : line.exclude_files) {
    if (run_outcome read = read_exclusion_file(file, file, patterns); read.failed()) return read;
  }
  return {};
}

run_outcome add_patterns(const std::vector<wide_text>& patterns, exclusion_rules& rules) {
  for (const wide_text& pattern : patterns) {
    if (!add_user_pattern(rules, pattern)) return failure(exit_command_line_error, invalid_pattern_message(pattern));
  }
  return {};
}

}  // namespace addfolder
