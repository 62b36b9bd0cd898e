#include "sync_file_edit.h"

#include <algorithm>
#include <cstdio>

#include "messages.h"
#include "text_conversion.h"

namespace addfolder {
namespace {

constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";

bool is_control(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte < 0x20 && c != '\t') || byte == 0x7F;
}

// A TOML string of the text: "text" where it needs no escape, 'text' (taken
// as written, so a pattern's "\" stays readable) where that can hold it, and
// otherwise "text" with escapes.
void append_toml_string(std::string& out, std::string_view text) {
  const auto plain = [](char c) { return c != '"' && c != '\\' && !is_control(c); };
  const auto literal = [](char c) { return c != '\'' && !is_control(c); };
  const bool is_plain = std::all_of(text.begin(), text.end(), plain);
  const bool is_literal = std::all_of(text.begin(), text.end(), literal);
  const char quote = is_plain || !is_literal ? '"' : '\'';
  out += quote;
  for (const char c : text) {
    if (quote == '\'') {
      out += c;
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (is_control(c)) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(static_cast<unsigned char>(c)));
      out += escape;
    } else {
      out += c;
    }
  }
  out += quote;
}

std::string folder_table(const sync_folder& folder, std::string_view line_end) {
  std::string table = "[[folder]]";
  table += line_end;
  wide_path path = folder.path;
  std::replace(path.begin(), path.end(), u'\\', u'/');
  table += "path = ";
  append_toml_string(table, to_narrow(path));
  table += line_end;
  if (!folder.exclude.empty()) {
    table += "exclude = [";
    for (size_t i = 0; i < folder.exclude.size(); ++i) {
      if (i > 0) table += ", ";
      append_toml_string(table, to_narrow(folder.exclude[i]));
    }
    table += "]";
    table += line_end;
  }
  if (!folder.exclude_from.empty()) {
    table += "exclude_from = ";
    append_toml_string(table, to_narrow(folder.exclude_from));
    table += line_end;
  }
  if (folder.prune) {
    table += "prune = true";
    table += line_end;
  }
  if (folder.groups) {
    table += *folder.groups == group_layout::tree ? "groups = \"tree\"" : "groups = \"flat\"";
    table += line_end;
  }
  return table;
}

std::string_view line_end_of(std::string_view text) {
  const size_t end = text.find('\n');
  return end != std::string_view::npos && end > 0 && text[end - 1] == '\r' ? "\r\n" : "\n";
}

// The text, ended with a line end and an empty line, unless it holds nothing.
void separate_from_text(std::string& text, std::string_view line_end) {
  if (text.empty() || text == byte_order_mark) return;
  if (text.back() != '\n') text += line_end;
  if (!text.ends_with(std::string(line_end) + std::string(line_end))) text += line_end;
}

// The end of the line that begins at start, after its line end, if any.
size_t next_line(std::string_view text, size_t start) {
  const size_t end = text.find('\n', start);
  return end == std::string_view::npos ? text.size() : end + 1;
}

// The text that an edit begins with: existing, parsed, or a new file's comment line.
bool start_text(std::optional<std::string_view> existing, wide_view file, wide_view connection_file,
                sync_file& parsed, std::string& text, sync_file_error& error) {
  if (!existing) {
    text = to_narrow(wide_text(sync_file_heading) + wide_text(connection_file)) + "\n";
    return true;
  }
  if (!parse_sync_file(*existing, file, parsed, error)) return false;
  text = *existing;
  return true;
}

// An error about the whole file: name, intro, the file, detail.
sync_file_error file_error(wide_view file, wide_view name, wide_view intro, wide_view detail) {
  return sync_file_error{wide_path(file), 0, 0, wide_text(name) + wide_text(intro) + wide_text(file) + wide_text(detail)};
}

}  // namespace

bool add_sync_base(std::optional<std::string_view> existing, wide_view file, wide_view connection_file,
                   const base_definition& base, std::string& text, sync_file_error& error) {
  sync_file parsed;
  std::string result;
  if (!start_text(existing, file, connection_file, parsed, result, error)) return false;
  for (const sync_base& known : parsed.bases) {
    if (!same_variable_name(known.base.name, base.name)) continue;
    error = file_error(file, base.name, sync_folder_saved_intro, sync_folder_saved_detail);
    return false;
  }
  const std::string_view line_end = line_end_of(result);
  wide_path directory = base.directory;
  std::replace(directory.begin(), directory.end(), u'\\', u'/');
  std::string entry = to_narrow(base.name) + " = ";
  append_toml_string(entry, to_narrow(directory));
  entry += line_end;
  if (parsed.base_line == 0) {
    separate_from_text(result, line_end);
    result += "[base]";
    result += line_end;
    result += entry;
  } else {
    // Right after the header; bases that dotted keys or an inline table make have none.
    size_t start = result.starts_with(byte_order_mark) ? byte_order_mark.size() : 0;
    for (std::uint32_t line = 1; line < parsed.base_line; ++line) start = next_line(result, start);
    const size_t header = result.find_first_not_of(" \t", start);
    size_t end = next_line(result, start);
    if (header < end && result[header] == '[') {
      if (end == result.size() && result.back() != '\n') result += line_end;
      end = next_line(result, start);
      result.insert(end, entry);
    } else {
      result.clear();
    }
  }
  sync_file check;
  if (result.empty() || !parse_sync_file(result, file, check, error) || check.bases.size() != parsed.bases.size() + 1) {
    error = file_error(file, base.name, sync_base_not_addable_intro, sync_folder_not_appendable_detail);
    return false;
  }
  text = std::move(result);
  return true;
}

bool append_sync_folder(std::optional<std::string_view> existing, wide_view file, wide_view connection_file,
                        const sync_folder& folder, std::string& text, sync_file_error& error) {
  sync_file parsed;
  std::string result;
  if (!start_text(existing, file, connection_file, parsed, result, error)) return false;
  if (find_sync_folder(parsed, folder.path)) {
    error = file_error(file, folder.path, sync_folder_saved_intro, sync_folder_saved_detail);
    return false;
  }
  const std::string_view line_end = line_end_of(result);
  const std::string table = folder_table(folder, line_end);
  // The table alone tells a value that the sync file refuses; the whole text,
  // a file that takes no table at its end.
  sync_file check;
  if (!parse_sync_file(table, file, check, error)) {
    error.line = error.column = 0;
    return false;
  }
  separate_from_text(result, line_end);
  result += table;
  if (!parse_sync_file(result, file, check, error) || check.folders.size() != parsed.folders.size() + 1) {
    error = file_error(file, folder.path, sync_folder_not_appendable_intro, sync_folder_not_appendable_detail);
    return false;
  }
  text = std::move(result);
  return true;
}

}  // namespace addfolder
