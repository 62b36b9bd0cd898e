#include "change_report.h"

#include <string>

#include "messages.h"
#include "text_conversion.h"

namespace addfolder {
namespace {

wide_text_view section_name(change_place place) {
  switch (place) {
    case change_place::project:
      return u"project";
    case change_place::include_path:
      return u"includePath";
    case change_place::asm_include_path:
      return u"asmIncludePath";
    case change_place::files:
      return u"files";
    case change_place::group:
      break;
  }
  return group_word;
}

// "1 file", "2 files".
wide_text count_of(size_t count, wide_text_view one, wide_text_view many) {
  wide_text text = shown_wide(std::to_string(count));
  text += u' ';
  text += count == 1 ? one : many;
  return text;
}

// "added 7 files in 3 groups and 2 include directories", or empty.
wide_text changes_of(wide_text_view verb, size_t files, size_t groups_with_files, size_t include_directories,
                     size_t empty_groups) {
  std::vector<wide_text> parts;
  if (files > 0) {
    wide_text part = count_of(files, one_file, many_files);
    if (groups_with_files > 0) part += wide_text(in_word) + count_of(groups_with_files, one_group, many_groups);
    parts.push_back(part);
  }
  if (include_directories > 0) {
    parts.push_back(count_of(include_directories, one_include_directory, many_include_directories));
  }
  if (empty_groups > 0) parts.push_back(count_of(empty_groups, one_empty_group, many_empty_groups));
  if (parts.empty()) return {};
  wide_text text(verb);
  for (size_t i = 0; i < parts.size(); ++i) {
    text += i == 0 ? wide_text_view(u" ") : i + 1 == parts.size() ? list_and : list_comma;
    text += parts[i];
  }
  return text;
}

}  // namespace

std::vector<wide_text> change_report_lines(const change_log& log, wide_text_view project_file,
                                           wide_text_view connection_file) {
  std::vector<wide_text> lines;
  lines.reserve(log.changes.size());
  for (const document_change& change : log.changes) {
    wide_text line(change.added ? added_mark : removed_mark);
    line += change.place == change_place::project ? project_file : connection_file;
    line += report_separator;
    line += section_name(change.place);
    if (change.place == change_place::group) line += u' ' + shown_wide(change.group);
    if (!change.text.empty()) line += wide_text(report_separator) + shown_wide(change.text);
    lines.push_back(std::move(line));
  }
  return lines;
}

wide_text change_summary_line(const change_counts& counts, wide_text_view project_file,
                              wide_text_view connection_file) {
  wide_text line;
  if (counts.reference_added) {
    line += wide_text(project_file) + wide_text(reference_added) + wide_text(connection_file) +
            wide_text(file_separator);
  }
  line += wide_text(connection_file) + wide_text(report_separator);
  // A new group always receives files, so only removed ones are told apart.
  const wide_text added = changes_of(added_word, counts.added_files, counts.groups_with_added_files,
                                     counts.added_include_directories, 0);
  const size_t emptied = counts.removed_groups;
  const wide_text removed = changes_of(removed_word, counts.removed_files, counts.groups_with_removed_files,
                                       counts.removed_include_directories, emptied);
  if (added.empty() && removed.empty()) return line + wide_text(nothing_changed);
  line += added;
  if (!added.empty() && !removed.empty()) line += list_comma;
  return line + removed;
}

wide_text saved_table_line(wide_text_view sync_file, wide_text_view kind, wide_text_view entry) {
  return wide_text(added_mark) + wide_text(sync_file) + wide_text(report_separator) + wide_text(kind) + u' ' +
         wide_text(entry);
}

wide_text saved_folders_summary(wide_text_view sync_file, size_t folders) {
  return wide_text(file_separator) + wide_text(sync_file) + wide_text(report_separator) + wide_text(added_word) +
         u' ' + count_of(folders, folder_word, many_folders);
}

std::vector<wide_text> lines_for_box(std::vector<wide_text> lines) {
  if (lines.size() <= most_box_lines) return lines;
  const size_t more = lines.size() - most_box_lines;
  lines.resize(most_box_lines);
  lines.push_back(wide_text(more_lines_intro) + shown_wide(std::to_string(more)) + wide_text(more_lines_detail));
  return lines;
}

}  // namespace addfolder
