#include "exclusion_input.h"

#include "messages.h"
#include "file_access.h"
#include "exclusion_lines.h"

namespace addfolder {
namespace {

bool add_patterns(const std::vector<wide_text>& patterns, exclusion_rules& rules, wide_text& error) {
  for (const wide_text& pattern : patterns) {
    if (!add_exclusion_pattern(rules, pattern)) {
      error = wide_text(invalid_pattern) + pattern;
      return false;
    }
  }
  return true;
}

bool read_exclusion_file(const wide_path& file, std::vector<wide_text>& patterns, wide_text& error) {
  file_bytes bytes;
  if (!read_whole_file(file, bytes)) {
    error = wide_text(unreadable_exclusion_file_intro) + file + wide_text(unreadable_exclusion_file_detail);
    return false;
  }
  const bool text = parse_exclusion_lines(std::string_view(bytes.data, bytes.size), patterns);
  release_file_bytes(bytes);
  if (!text) error = wide_text(unreadable_exclusion_file_intro) + file + wide_text(exclusion_file_not_text_detail);
  return text;
}

}  // namespace

bool read_exclusions(const command_line& line, exclusion_rules& rules, wide_text& error) {
  rules = exclusion_rules{};
  if (!add_patterns(line.exclude_patterns, rules, error)) return false;
  for (const wide_path& file : line.exclude_files) {
    std::vector<wide_text> patterns;
    if (!read_exclusion_file(file, patterns, error) || !add_patterns(patterns, rules, error)) return false;
  }
  return true;
}

}  // namespace addfolder
