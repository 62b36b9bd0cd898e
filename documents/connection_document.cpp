#include "documents/connection_document.h"

#include <map>

#include "documents/connection_index.h"
#include "documents/path_text_match.h"
#include "scan/text_conversion.h"

namespace addfolder {
namespace {

// The group name of the working directory itself, whose files go directly into files.
constexpr std::string_view working_directory_name = ".";

// Appends a path to a section that does not list it yet, and counts it.
// False only when memory ran out.
bool add_path_if_missing(connection_index& index, pugi::xml_node section, std::string_view text, size_t& added) {
  if (!section || is_path_listed(index, section, text)) return true;
  if (!append_path(index, section, text)) return false;
  ++added;
  return true;
}

bool add_missing_paths(connection_index& index, pugi::xml_node section, const std::vector<std::string>& path_texts,
                       size_t& added) {
  for (const std::string& text : path_texts) {
    if (!add_path_if_missing(index, section, text, added)) return false;
  }
  return true;
}

}  // namespace

connection_sections build_connection_document(pugi::xml_document& document) {
  connection_sections sections;
  sections.root = document.append_child("iarProjectConnection");
  sections.root.append_attribute("name").set_value("src");
  sections.root.append_attribute("oneShot").set_value("false");
  sections.include_path = sections.root.append_child("includePath");
  sections.asm_include_path = sections.root.append_child("asmIncludePath");
  sections.files = sections.root.append_child("files");
  return sections;
}

connection_sections open_connection_document(pugi::xml_document& document) {
  connection_sections sections;
  sections.root = document.child("iarProjectConnection");
  sections.include_path = sections.root.child("includePath");
  sections.asm_include_path = sections.root.child("asmIncludePath");
  sections.files = sections.root.child("files");
  return sections;
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

connection_entries plan_connection_entries(const header_directory_list& headers, const source_file_list& sources,
                                           walk_relative_forms& forms) {
  connection_entries entries;
  entries.include_paths.reserve(headers.size());
  for (const wide_path& directory : headers) {
    entries.include_paths.push_back(path_text(directory_relative_form(forms, directory)));
  }

  // The source directories as the list spells them, in byte order, each
  // with the index of its group once the groups are known. Files of one
  // directory usually follow each other, so the last one is remembered.
  std::map<std::string, size_t> directories;
  std::vector<const size_t*> group_of_source;
  group_of_source.reserve(sources.size());
  wide_view last_directory;
  const size_t* last_group = nullptr;
  for (const source_file& file : sources) {
    const wide_view directory = parent_path(file.path);
    if (last_group == nullptr || directory != last_directory) {
      last_group = &directories.try_emplace(to_narrow(directory), 0).first->second;
      last_directory = directory;
    }
    group_of_source.push_back(last_group);
  }
  for (auto& [directory, group] : directories) {
    std::string name = to_narrow(directory_relative_form(forms, to_wide(directory)));
    if (name == working_directory_name) {
      group = connection_entries::no_group;
      continue;
    }
    group = entries.group_names.size();
    entries.group_names.push_back(std::move(name));
  }

  entries.sources.reserve(sources.size());
  for (size_t i = 0; i < sources.size(); ++i) {
    const source_file& file = sources[i];
    entries.sources.push_back({entry_path_text(forms, file.path, file.is_link), *group_of_source[i]});
  }
  return entries;
}

bool fill_connection_document(connection_sections& sections, const connection_entries& entries, size_t* added) {
  size_t appended = 0;
  if (added != nullptr) *added = 0;
  connection_index index = start_connection_index(sections.files);
  if (!add_missing_paths(index, sections.include_path, entries.include_paths, appended)) return false;
  if (!add_missing_paths(index, sections.asm_include_path, entries.include_paths, appended)) return false;

  // Every group exists before the first file is placed, and no group is
  // added after, so each name's group is fixed from here on.
  std::vector<pugi::xml_node> groups;
  groups.reserve(entries.group_names.size());
  for (const std::string& name : entries.group_names) {
    pugi::xml_node group = find_group(index, name);
    if (!group && sections.files) {
      group = append_group(index, name);
      if (!group) return false;
      ++appended;
    }
    groups.push_back(group);
  }

  for (const connection_entries::source& source : entries.sources) {
    const pugi::xml_node section = source.group == connection_entries::no_group ? sections.files : groups[source.group];
    if (!add_path_if_missing(index, section, source.path_text, appended)) return false;
  }
  if (added != nullptr) *added = appended;
  return true;
}

}  // namespace addfolder
