#include "change_log.h"

namespace addfolder {

bool changes_connection_file(const change_counts& counts) {
  return counts.added_files + counts.added_groups + counts.added_include_directories + counts.removed_files +
             counts.removed_groups + counts.removed_include_directories >
         0;
}

void note_change(change_log& log, bool added, change_place place, std::string_view group, std::string_view text) {
  if (!log.lists_changes) return;
  log.changes.push_back(document_change{added, place, std::string(group), std::string(text)});
}

}  // namespace addfolder
