#include "tests/scan_outcome.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

#include "connection_plan.h"
#include "relative_form.h"
#include "scan_problem_lines.h"
#include "source_tree.h"
#include "system_error.h"
#include "text_conversion.h"
#include "tests/reference_model.h"

namespace addfolder::test_support {
namespace {

// Sources by folder, each folder's in walk order, and the header folders.
using folder_contents = std::map<wide_path, std::vector<std::pair<wide_path, bool>>>;

// Every text of a plan, or that it could not be made.
template <typename Plan>
std::string plan_text(Plan plan) {
  try {
    const connection_entries entries = plan();
    std::string text = "top " + std::to_string(entries.top_group) + "\n";
    for (const std::string& include : entries.include_paths) text += "include " + include + "\n";
    for (size_t i = 0; i < entries.group_names.size(); ++i) {
      text += "group " + entries.group_names[i] + " in " + std::to_string(group_parent(entries, i)) + "\n";
    }
    for (const connection_entries::source& source : entries.sources) {
      text += path_text_of(entries, source) + " in " + std::to_string(source.group()) + "\n";
    }
    return text;
  } catch (const system_error&) {
    return "no narrow text";
  }
}

// The plan made as the walk leaves each folder equals the one made from the
// walk's whole result, in both layouts.
void expect_plan_while_walking(const wide_path& scan_root, const source_tree& tree, unsigned jobs) {
  for (const group_layout layout : {group_layout::flat, group_layout::tree}) {
    const std::string expected = plan_text([&] { return plan_connection_entries(tree, layout); });
    EXPECT_EQ(plan_text([&] {
                connection_planner planner(tree.roots, layout);
                scan_problem_list problems;
                const source_tree walked = scan_source_tree(scan_root, tree.roots, exclusion_rules{}, problems,
                                                            walk_options{jobs, nullptr, &planner});
                EXPECT_TRUE(walked.folders.empty());
                return planner.finish(walked);
              }),
              expected);
  }
}

}  // namespace

scan_outcome scan_every_way(const wide_path& scan_root) {
  scan_outcome reference;
  std::string lines;
  const reference::source_file_list sources = reference::scan_source_files(scan_root, lines);
  const reference::header_directory_list headers = reference::scan_header_directories(scan_root, lines);
  folder_contents expected;
  for (const reference::source_file& file : sources) {
    reference.sources.push_back(file.path);
    if (file.is_link) reference.linked_sources.push_back(file.path);
    expected[wide_path(parent_path(file.path))].emplace_back(file_name(file.path), file.is_link);
  }
  reference.headers.assign(headers.begin(), headers.end());
  reference.errors = lines;

  // Any number of jobs finds the same, and reports it in the same order.
  const wide_path working_directory = weakly_canonical(current_path());
  for (const unsigned jobs : {1u, 2u, 8u}) {
    SCOPED_TRACE("jobs " + std::to_string(jobs));
    scan_problem_list problems;
    const source_tree tree =
        scan_source_tree(scan_root, project_roots(working_directory), exclusion_rules{}, problems, walk_options{jobs});
    folder_contents found;
    reference::header_directory_list found_headers;
    for (const source_folder& folder : tree.folders) {
      for (const source_entry& entry : folder.sources) {
        found[folder.path].emplace_back(to_wide(folder.name(entry)), entry.is_link);
      }
      if (folder.holds_header) found_headers.insert(folder.path);
    }
    EXPECT_TRUE(found == expected) << "the walk and the two plain scans find other source files";
    EXPECT_TRUE(found_headers == headers) << "the walk and the two plain scans find other header folders";
    EXPECT_EQ(scan_problem_lines(problems), lines) << "the walk and the two plain scans report otherwise";
    expect_plan_while_walking(scan_root, tree, jobs);
  }
  return reference;
}

std::string describe(const scan_outcome& outcome) {
  std::string text;
  const auto lines = [&text](const char* label, const std::vector<wide_path>& paths) {
    for (const wide_path& path : paths) {
      text += label;
      append_narrow(text, path);
      text += '\n';
    }
  };
  lines("source ", outcome.sources);
  lines("link ", outcome.linked_sources);
  lines("header ", outcome.headers);
  return text + outcome.errors;
}

}  // namespace addfolder::test_support
