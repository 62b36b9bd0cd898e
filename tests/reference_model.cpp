#include "tests/reference_model.h"

#include <map>

#include "connection_fill.h"
#include "path_text_match.h"
#include "xml_document.h"
#include "file_extension.h"
#include "file_system.h"
#include "relative_form.h"
#include "system_error.h"
#include "text_conversion.h"
#include "tree_walk.h"

namespace addfolder::reference {
namespace {

void exception_line(std::string& lines, const system_error& error) {
  lines += "Exception :: ";
  lines += error.what();
  lines += '\n';
}

void access_error_line(std::string& lines, wide_view path, int code) {
  lines += "Error While Accessing : ";
  try {
    lines += to_error_text(path);
  } catch (const system_error& conversion) {
    exception_line(lines, conversion);
    return;
  }
  lines += " :: " + system_message(code) + "\n";
}

// One plain walk: visit is called for every entry and returns false to end
// the walk; the problems of the walk itself become lines.
template <typename Visit>
void walk(const wide_path& scan_root, std::string& lines, bool reports_backslash_names, Visit visit) {
  if (scan_root.empty()) return;
  file_kind kind = file_kind::not_found;
  if (const int error = query_status(scan_root, kind); error != 0) {
    return exception_line(lines, system_error(error, "exists", scan_root));
  }
  if (kind != file_kind::directory) return;
  tree_walk walk;
  if (const int error = start_walk(walk, scan_root); error != 0) {
    return exception_line(lines, system_error(error, "recursive_directory_iterator::recursive_directory_iterator",
                                              scan_root));
  }
  while (true) {
    switch (next_walk_event(walk)) {
      case walk_event::entry:
        if (!visit(walk)) return;
        break;
      case walk_event::unreadable_directory:
      case walk_event::unconvertible_name:
        access_error_line(lines, walk.path, walk.error);
        break;
      case walk_event::backslash_name:
        if (reports_backslash_names) {
          lines += "Skipped \"" + to_error_text(walk.name) + "\" in " + to_error_text(walk.path) +
                   ": a name that holds \"\\\" cannot be named in a Windows project\n";
        }
        break;
      case walk_event::end:
        return;
    }
  }
}

}  // namespace

source_file_list scan_source_files(const wide_path& scan_root, std::string& lines) {
  source_file_list sources;
  walk(scan_root, lines, true, [&](const tree_walk& walk) {
    if (is_source_extension(path_extension(walk.path))) sources.push_back({walk.path, walk.entry->is_link});
    return true;
  });
  return sources;
}

header_directory_list scan_header_directories(const wide_path& scan_root, std::string& lines) {
  header_directory_list headers;
  walk(scan_root, lines, false, [&](const tree_walk& walk) {
    if (!is_header_extension(path_extension(walk.path))) return true;
    file_kind kind = file_kind::not_found;
    if (const int error = query_status(walk.path, kind); error != 0) {
      // Reported and skipped; the walk goes on.
      exception_line(lines, system_error(error, "status", walk.path));
      return true;
    }
    if (kind == file_kind::regular) headers.emplace(parent_path(walk.path));
    return true;
  });
  return headers;
}

source_tree tree_of(const header_directory_list& headers, const source_file_list& sources) {
  source_tree tree;
  std::map<wide_path, size_t> records;
  const auto record = [&](wide_view folder) -> source_folder& {
    const auto [entry, added] = records.try_emplace(wide_path(folder), tree.folders.size());
    if (added) tree.folders.push_back(source_folder{wide_path(folder), relative_form(wide_path(folder)), {}, {}, false, {}, {}});
    return tree.folders[entry->second];
  };
  for (const source_file& file : sources) {
    const wide_path own_relative = file.is_link ? relative_form(file.path) : wide_path();
    add_source_entry(record(parent_path(file.path)), file_name(file.path), file.is_link,
                     file.is_link ? &own_relative : nullptr);
  }
  for (const wide_path& folder : headers) record(folder).holds_header = true;
  return tree;
}

connection_entries plain_entries(const header_directory_list& headers, const source_file_list& sources) {
  connection_entries entries;
  for (const wide_path& directory : headers) entries.include_paths.push_back(path_text(relative_form(directory)));
  std::set<std::string> directories;
  for (const source_file& file : sources) directories.insert(to_narrow(parent_path(file.path)));
  std::map<std::string, size_t> group_index;
  for (const std::string& directory : directories) {
    const std::string name = to_narrow(relative_form(to_wide(directory)));
    if (name == ".") continue;
    group_index.emplace(name, entries.group_names.size());
    entries.group_names.push_back(name);
  }
  for (const source_file& file : sources) {
    const std::string group = to_narrow(relative_form(wide_path(parent_path(file.path))));
    add_source(entries, path_text(relative_form(file.path)),
               group == "." ? connection_entries::no_group : group_index.at(group));
  }
  return entries;
}

bool is_path_listed(pugi::xml_node section, std::string_view path_text) {
  for (pugi::xml_node child : section.children()) {
    if (same_path_text(child.child_value(), path_text)) return true;
  }
  return false;
}

pugi::xml_node find_group(pugi::xml_node files, std::string_view name) {
  // The document's texts end at their first zero byte.
  name = name.substr(0, name.find('\0'));
  for (pugi::xml_node group : files.children("group")) {
    for (pugi::xml_attribute attribute : group.attributes()) {
      if (std::string_view(attribute.name()) == "name" && same_path_text(attribute.value(), name)) return group;
    }
  }
  return pugi::xml_node();
}

void plain_fill(connection_sections& sections, const connection_entries& entries) {
  const auto append_path = [](pugi::xml_node section, std::string_view text) {
    section.append_child("path").append_child(pugi::node_pcdata).set_value(text.data(), text.size());
  };
  for (pugi::xml_node section : {sections.include_path, sections.asm_include_path}) {
    for (const std::string& text : entries.include_paths) {
      if (section && !is_path_listed(section, text)) append_path(section, text);
    }
  }
  for (const std::string& name : entries.group_names) {
    if (!find_group(sections.files, name) && sections.files) {
      sections.files.append_child("group").append_attribute("name").set_value(name.c_str());
    }
  }
  for (const connection_entries::source& source : entries.sources) {
    const pugi::xml_node target = source.group() == connection_entries::no_group
                                      ? sections.files
                                      : find_group(sections.files, entries.group_names[source.group()]);
    const std::string text = path_text_of(entries, source);
    if (target && !is_path_listed(target, text)) append_path(target, text);
  }
}

std::pair<std::string, std::string> new_documents_filled(const connection_entries& entries,
                                                         const connection_entries& plain) {
  pugi::xml_document filled;
  pugi::xml_document plainly_filled;
  connection_sections filled_sections = build_connection_document(filled);
  connection_sections plain_sections = build_connection_document(plainly_filled);
  change_log log;
  fill_connection_document(filled_sections, entries, log);
  plain_fill(plain_sections, plain);
  return {saved_form(filled), saved_form(plainly_filled)};
}

std::string written_straight(const new_connection_file& file) {
  struct : pugi::xml_writer {
    std::string text;
    void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
  } writer;
  file.write(writer);
  return std::move(writer.text);
}

}  // namespace addfolder::reference
