#include "exclusion_input.h"

#include "exclusion_lines.h"
#include "failure_message.h"
#include "file_bytes.h"
#include "messages.h"
#include "user_pattern.h"

namespace addfolder {
namespace {

// An exclusion file is a short list of patterns; anything larger is no such list.
constexpr size_t most_exclusion_file_bytes = 1 << 20;

bool add_patterns(const std::vector<wide_text>& patterns, exclusion_rules& rules, wide_text& error) {
  for (const wide_text& pattern : patterns) {
    if (!add_exclusion_pattern(rules, pattern)) {
      error = invalid_pattern_message(pattern);
      return false;
    }
  }
  return true;
}

bool read_exclusion_file(const wide_path& file, std::vector<wide_text>& patterns, wide_text& error) {
  file_bytes bytes;
  const wide_text intro = wide_text(unreadable_exclusion_file_intro) + file;
  if (const document_error failed = read_whole_file(file, bytes, nullptr, most_exclusion_file_bytes)) {
    if (failed.failure == document_failure::too_large) {
      error = intro + wide_text(exclusion_file_too_large_detail);
    } else {
      error = intro + wide_text(unreadable_exclusion_file_detail);
    }
    return false;
  }
  const bool text = parse_exclusion_lines(std::string_view(bytes.data, bytes.size), patterns);
  release_file_bytes(bytes);
  if (!text) error = intro + wide_text(exclusion_file_not_text_detail);
  return text;
}

}  // namespace

run_outcome read_exclusions(const command_line& line, exclusion_rules& rules) {
  rules = exclusion_rules{};
  wide_text error;
  bool read = add_patterns(line.exclude_patterns, rules, error);
  for (size_t i = 0; read && i < line.exclude_files.size(); ++i) {
    std::vector<wide_text> patterns;
    read = read_exclusion_file(line.exclude_files[i], patterns, error) && add_patterns(patterns, rules, error);
  }
  return read ? run_outcome{} : failure(exit_command_line_error, error);
}

}  // namespace addfolder
