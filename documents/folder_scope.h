// What lies within a folder, for a prune or a removal: texts and group names
// as the program itself could have written them for what the folder holds.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "relative_form.h"
#include "text_roots.h"

namespace addfolder {

// The forms of texts within a folder: the folder's own, and each base that
// lies below it, whose texts all lie within the folder.
struct folder_scope {
  struct form {
    // The macro and its separator, such as "$PROJ_DIR$\" or "$SDK$\".
    std::string macro;
    // The folder's relative form against the macro's root, in narrow text.
    std::string relative;
  };
  std::vector<form> forms;
};

// The scope of a folder that the project directory names by its relative
// form in narrow text ("." for the project directory itself).
folder_scope project_folder_scope(std::string_view relative);

// The scope of a folder from its forms and the run's roots. Raises
// system_error where a name has no narrow text.
folder_scope scope_of_folder(const folder_forms& folder, const text_roots& roots);

// Whether a path text lies within the scope: a macro of the scope and its
// separator ("\" or "/"), then the folder's relative form and names that are
// not empty, "." or "..", with either separator. Below the project directory
// (".") lies every text of such names. The folder's names are compared as a
// whole, as same_path_text compares them.
bool is_text_within(const folder_scope& scope, std::string_view path_text);

// Whether a group name lies within the scope: a relative text within the
// project directory's form, or a base's macro and a relative text within its form.
bool is_group_within(const folder_scope& scope, std::string_view group_name);

// Whether every name of a relative text is one that the program writes:
// none empty, "." or "..", with either separator.
bool has_plain_names(std::string_view relative);

// Whether a group name is one name that the program could have written for
// a folder below the top of a tree: not empty, ".", ".." or more than one name.
bool is_single_plain_name(std::string_view name);

// Answers is_text_within for one text after another. The texts of a group
// mostly share their folder, and all but their last name decide the answer:
// it is remembered for the last folder, so that most texts cost a comparison
// of bytes and a look at their last name.
class within_test {
 public:
  // The scope must outlive the test.
  explicit within_test(const folder_scope& scope);
  // Whether path_text lies within the scope, as is_text_within says.
  bool operator()(std::string_view path_text);
  // For the texts of prefix, which ends with a separator, and a rest, where
  // the prefix decides: false when none lies within the scope, true when
  // those whose rest has plain names (has_plain_names) do; nothing where
  // the rest decides more.
  std::optional<bool> after_prefix(std::string_view prefix);

 private:
  const folder_scope& scope_;
  // The most names of a form's folder: a folder with as many decides.
  size_t most_form_names_ = 0;
  // The last folder found outside the scope with as many names, and its
  // separator: no text that begins with it lies within.
  std::string outside_;
  std::string folder_text_;
  bool folder_within_ = false;
  bool remembered_ = false;
};

}  // namespace addfolder
