#include "command_line.h"

#include "messages.h"
#include "user_pattern.h"

namespace addfolder {
namespace {

bool is_option(wide_text_view argument) { return argument.substr(0, 2) == u"--"; }

// The value that follows an option; false when there is none.
bool take_value(const std::vector<wide_text>& argument_list, size_t& index, wide_text& value) {
  if (index + 1 >= argument_list.size() || is_option(argument_list[index + 1])) return false;
  value = argument_list[++index];
  return true;
}

// A number of jobs, "1" to "64"; 0 for any other text.
unsigned jobs_number(wide_text_view text) {
  constexpr unsigned most_jobs = 64;
  unsigned number = 0;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return 0;
    number = number * 10 + static_cast<unsigned>(c - u'0');
    if (number > most_jobs) return 0;
  }
  return number;
}

bool takes_value(wide_text_view option) {
  return option == u"--folder" || option == u"--exclude" || option == u"--exclude-from" || option == u"--jobs" ||
         option == u"--remove" || option == u"--groups" || option == u"--base";
}

// Takes the value of an option that has one; an error, for the user, where it is not one the option takes.
void take_option_value(wide_text_view option, const wide_text& value, command_line& parsed, wide_text& error) {
  base_definition base;
  if (option == u"--jobs") {
    parsed.jobs = jobs_number(value);
    if (parsed.jobs == 0) error = wide_text(invalid_jobs) + value;
  } else if (option == u"--groups") {
    parsed.groups = value == u"tree" ? group_layout::tree : group_layout::flat;
    if (value != u"tree" && value != u"flat") error = wide_text(invalid_groups) + value;
  } else if (option == u"--base") {
    if (parse_base_value(value, base, error)) add_base_definition(parsed.bases, std::move(base), error);
  } else if (!check_typed_value(value, error)) {
    return;
  } else if (option == u"--folder") {
    parsed.folders.push_back(value);
  } else if (option == u"--remove") {
    parsed.remove_folders.push_back(value);
  } else if (option == u"--exclude") {
    parsed.exclude_patterns.push_back(value);
  } else {
    parsed.exclude_files.push_back(value);
  }
}

}  // namespace

run_outcome parse_command_line(const std::vector<wide_text>& argument_list, command_line& parsed) {
  parsed = command_line{};
  wide_text error;
  std::vector<wide_text> positional;
  const auto refuse = [&](std::u16string_view intro, wide_text_view option, std::u16string_view detail = {}) {
    if (error.empty()) error = wide_text(intro) + wide_text(option) + wide_text(detail);
  };
  for (size_t i = 1; i < argument_list.size(); ++i) {
    const wide_text& argument = argument_list[i];
    wide_text value;
    if (argument == u"--help" || argument == u"-h") {
      parsed.request = command_request::help;
    } else if (argument == u"--version") {
      if (parsed.request != command_request::help) parsed.request = command_request::version;
    } else if (takes_value(argument)) {
      wide_text value_error;
      if (!take_value(argument_list, i, value)) {
        refuse(option_without_value_intro, argument, option_without_value_detail);
      } else {
        take_option_value(argument, value, parsed, value_error);
        if (!value_error.empty()) refuse(value_error, {});
      }
    } else if (argument == u"--sync") {
      parsed.sync = true;
    } else if (argument == u"--save") {
      parsed.save = true;
    } else if (argument == u"--prune") {
      parsed.prune = true;
    } else if (argument == u"--dry-run") {
      parsed.dry_run = true;
    } else if (argument == u"--check") {
      parsed.check = true;
    } else if (argument == u"--quiet") {
      parsed.quiet = true;
    } else if (is_option(argument)) {
      refuse(unknown_option, argument);
    } else {
      positional.push_back(argument);
    }
  }
  if (parsed.request != command_request::run) return {};
  const auto conflict = [&](wide_text_view other) {
    refuse(options_conflict_intro, u"--sync", wide_text(options_conflict_middle) + wide_text(other) +
                                                  wide_text(options_conflict_detail));
  };
  if (parsed.sync && !parsed.folders.empty()) conflict(u"--folder");
  if (parsed.sync && parsed.save) conflict(u"--save");
  // A [[folder]] table names one file of patterns.
  if (parsed.save && parsed.exclude_files.size() > 1) refuse(save_one_exclusion_file, {});
  if (positional.size() < 2 && error.empty()) error = missing_arguments;
  if (!error.empty()) return failure(exit_command_line_error, error);
  parsed.arguments = command_arguments{positional[0], positional[1]};
  return {};
}

}  // namespace addfolder
