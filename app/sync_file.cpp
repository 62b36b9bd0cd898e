#include "sync_file.h"

#include <algorithm>
#include <string>
#include <tuple>

#include "failure_message.h"
#include "file_bytes.h"
#include "file_name_match.h"
#include "file_stamp.h"
#include "messages.h"
#include "text_conversion.h"
#include "toml_library.h"
#include "user_pattern.h"

namespace addfolder {
namespace {

// toml++ has checked that every text is UTF-8, so the conversion holds.
wide_text wide(std::string_view text) {
  wide_text converted;
  append_wide(converted, text);
  return converted;
}

// toml++'s description, which quotes what it saw, in one line: a line end or
// another control character that it quotes is written as an escape.
wide_text one_line(std::string_view description) {
  constexpr char16_t digits[] = u"0123456789ABCDEF";
  wide_text line;
  for (const char16_t c : wide(description)) {
    if (c >= 0x20) {
      line += c;
    } else if (c == u'\n') {
      line += u"\\n";
    } else if (c == u'\t') {
      line += u"\\t";
    } else {
      line += u"\\x";
      line += digits[c >> 4];
      line += digits[c & 15];
    }
  }
  return line;
}

wide_text number_text(std::uint32_t number) { return wide(std::to_string(number)); }

wide_text quoted(std::string_view key) { return u"\"" + wide(key) + u"\""; }

// Keeps the problem that comes first in the text: a table's keys come sorted,
// not in the file's order, and the message should not depend on that.
struct problem_list {
  sync_file_error& error;
  bool found = false;

  void report(const toml::source_region& where, wide_text message) {
    const toml::source_position at = where.begin;
    if (found && std::tie(error.line, error.column) <= std::tie(at.line, at.column)) return;
    found = true;
    error.line = at.line;
    error.column = at.column;
    error.message = std::move(message);
  }
};

// An array of patterns, each one that the exclusion rules take.
void read_patterns(const toml::node& node, std::string_view key, std::vector<wide_text>& patterns,
                   problem_list& problems) {
  const toml::array* array = node.as_array();
  if (!array) return problems.report(node.source(), quoted(key) + wide_text(sync_not_strings));
  for (const toml::node& element : *array) {
    const toml::value<std::string>* text = element.as_string();
    if (!text) {
      problems.report(element.source(), quoted(key) + wide_text(sync_not_strings));
      continue;
    }
    wide_text pattern = wide(text->get());
    exclusion_rules rules;
    if (!add_user_pattern(rules, pattern)) problems.report(element.source(), invalid_pattern_message(pattern));
    patterns.push_back(std::move(pattern));
  }
}

// A string that names a folder or a file.
void read_name(const toml::node& node, std::string_view key, wide_path& name, problem_list& problems) {
  const toml::value<std::string>* text = node.as_string();
  if (!text) return problems.report(node.source(), quoted(key) + wide_text(sync_not_a_string));
  name = wide(text->get());
  if (name.empty()) {
    problems.report(node.source(), quoted(key) + wide_text(sync_empty_name));
  } else if (holds_impossible_character(name)) {
    problems.report(node.source(), quoted(key) + wide_text(sync_impossible_name));
  }
}

// "tree" or "flat".
void read_layout(const toml::node& node, std::string_view key, std::optional<group_layout>& layout,
                 problem_list& problems) {
  const toml::value<std::string>* text = node.as_string();
  if (text && (text->get() == "tree" || text->get() == "flat")) {
    layout = text->get() == "tree" ? group_layout::tree : group_layout::flat;
  } else {
    problems.report(node.source(), quoted(key) + wide_text(sync_not_a_layout));
  }
}

// The [base] table: NAME = "DIR", in the file's order.
void read_bases(const toml::node& node, std::vector<sync_base>& bases, problem_list& problems) {
  const toml::table* table = node.as_table();
  if (!table) return problems.report(node.source(), quoted("base") + wide_text(sync_not_a_table));
  // toml++ gives a table's keys sorted; the file's order decides between bases.
  std::vector<std::pair<const toml::key*, const toml::node*>> entries;
  for (const auto& [key, value] : *table) entries.emplace_back(&key, &value);
  std::sort(entries.begin(), entries.end(), [](const auto& left, const auto& right) {
    const toml::source_position a = left.first->source().begin;
    const toml::source_position b = right.first->source().begin;
    return std::tie(a.line, a.column) < std::tie(b.line, b.column);
  });
  std::vector<base_definition> definitions;
  for (const auto& [key, value] : entries) {
    base_definition base{wide(key->str()), {}};
    wide_text error;
    if (!is_custom_variable_name(base.name)) {
      problems.report(key->source(), wide_text(invalid_argument_variable) + base.name);
    } else if (!add_base_definition(definitions, base, error)) {
      problems.report(key->source(), error);
    }
    read_name(*value, key->str(), base.directory, problems);
    bases.push_back({std::move(base), key->source().begin.line});
  }
}

void read_folder(const toml::table& table, sync_folder& folder, problem_list& problems) {
  for (const auto& [key, node] : table) {
    const std::string_view name = key.str();
    if (name == "path") {
      read_name(node, name, folder.path, problems);
      folder.line = node.source().begin.line;
    } else if (name == "exclude") {
      read_patterns(node, name, folder.exclude, problems);
    } else if (name == "exclude_from") {
      read_name(node, name, folder.exclude_from, problems);
    } else if (name == "groups") {
      read_layout(node, name, folder.groups, problems);
    } else if (name == "prune") {
      if (const toml::value<bool>* flag = node.as_boolean()) {
        folder.prune = flag->get();
      } else {
        problems.report(node.source(), quoted(name) + wide_text(sync_not_a_boolean));
      }
    } else {
      problems.report(key.source(), wide_text(sync_unknown_key) + quoted(name));
    }
  }
  if (!table.contains("path")) problems.report(table.source(), wide_text(sync_folder_without_path));
}

void read_folders(const toml::node& node, std::vector<sync_folder>& folders, problem_list& problems) {
  const wide_text not_tables = quoted("folder") + wide_text(sync_not_folder_tables);
  const toml::array* array = node.as_array();
  if (!array) return problems.report(node.source(), not_tables);
  std::vector<wide_path> identities;
  for (const toml::node& element : *array) {
    const toml::table* table = element.as_table();
    if (!table) {
      problems.report(element.source(), not_tables);
      continue;
    }
    sync_folder folder;
    read_folder(*table, folder, problems);
    if (folder.path.empty()) continue;
    wide_path identity = sync_folder_identity(folder.path);
    for (size_t i = 0; i < identities.size(); ++i) {
      if (!same_file_name(identities[i], identity, host_name_rule)) continue;
      problems.report(table->get("path")->source(),
                      folder.path + wide_text(sync_folder_twice_detail) + number_text(folders[i].line));
      break;
    }
    identities.push_back(std::move(identity));
    folders.push_back(std::move(folder));
  }
}

void read_document(const toml::table& root, sync_file& parsed, problem_list& problems) {
  for (const auto& [key, node] : root) {
    if (key.str() == "exclude") {
      read_patterns(node, key.str(), parsed.exclude, problems);
    } else if (key.str() == "folder") {
      read_folders(node, parsed.folders, problems);
    } else if (key.str() == "groups") {
      read_layout(node, key.str(), parsed.groups, problems);
    } else if (key.str() == "base") {
      parsed.base_line = node.source().begin.line;
      read_bases(node, parsed.bases, problems);
    } else {
      problems.report(key.source(), wide_text(sync_unknown_key) + quoted(key.str()));
    }
  }
}

}  // namespace

wide_text sync_file_error_text(const sync_file_error& error) {
  if (error.line == 0) return error.message;
  return error.file + u":" + number_text(error.line) + u":" + number_text(error.column) + u": " + error.message;
}

bool parse_sync_file(std::string_view bytes, wide_view file, sync_file& parsed, sync_file_error& error) {
  parsed = sync_file{};
  error = sync_file_error{wide_path(file), 0, 0, {}};
  toml::table root;
  try {
    root = toml::parse(bytes);
  } catch (const toml::parse_error& failure) {
    error.line = failure.source().begin.line;
    error.column = failure.source().begin.column;
    error.message = one_line(failure.description());
    if (error.message.empty()) error.message = sync_file_not_toml;
    return false;
  }
  problem_list problems{error};
  read_document(root, parsed, problems);
  if (problems.found) parsed = sync_file{};
  return !problems.found;
}

wide_text sync_file_message(wide_view shown_name, wide_view detail) {
  return wide_text(sync_file_intro) + wide_text(shown_name) + wide_text(detail);
}

document_error read_sync_file_text(const wide_path& path, std::optional<std::string>& text, file_stamp& stamp) {
  text.reset();
  if (document_error error = query_file_stamp(path, stamp); error || !stamp.exists) return error;
  file_bytes bytes;
  if (document_error error = read_whole_file(path, bytes, &stamp)) return error;
  try {
    text.emplace(bytes.data, bytes.size);
  } catch (...) {
    release_file_bytes(bytes);
    throw;
  }
  release_file_bytes(bytes);
  return {};
}

run_outcome read_sync_file(const wide_path& path, wide_view shown_name, sync_file& parsed, bool& exists) {
  parsed = sync_file{};
  std::optional<std::string> text;
  file_stamp stamp;
  if (const document_error error = read_sync_file_text(path, text, stamp)) {
    return failure(exit_command_line_error, sync_file_message(shown_name, sync_file_unreadable_detail),
                   document_error_reason(error));
  }
  exists = text.has_value();
  sync_file_error error;
  if (exists && !parse_sync_file(*text, shown_name, parsed, error)) {
    return failure(exit_command_line_error, sync_file_error_text(error));
  }
  return {};
}

wide_path sync_folder_identity(wide_view path) {
  wide_path identity = lexically_normal(path);
  if (!identity.empty() && identity.back() == preferred_separator && !rootless_form(identity).empty()) {
    identity.pop_back();
  }
  return identity;
}

const sync_folder* find_sync_folder(const sync_file& parsed, wide_view path) {
  const wide_path identity = sync_folder_identity(path);
  for (const sync_folder& folder : parsed.folders) {
    if (same_file_name(sync_folder_identity(folder.path), identity, host_name_rule)) return &folder;
  }
  return nullptr;
}

}  // namespace addfolder
