// The custom argument variables of the IDE by which a project names folders
// outside it, such as $SDK$: --base NAME=DIR and the sync file's [base] table.
#pragma once

#include <vector>

#include "path.h"

namespace addfolder {

// A base: a folder whose paths texts name by $NAME$ instead of $PROJ_DIR$.
struct base_definition {
  // NAME: ASCII letters, digits and "_".
  wide_text name;
  // DIR as the user gave it.
  wide_path directory;
};

// True when name can be a custom argument variable: ASCII letters, digits and
// "_", none of the IDE's own variables (PROJ_DIR, TOOLKIT_DIR, ...), and not
// "_NAME_", the form by which the IDE reads an environment variable. Letter
// case aside, as the IDE's own are matched.
bool is_custom_variable_name(wide_text_view name);

// True when the two names are one variable, letter case aside.
bool same_variable_name(wide_text_view left, wide_text_view right);

// Reads NAME=DIR into base. False, with the message for the user in error,
// for a value without "=" or DIR, a NAME that is no custom argument variable,
// or a DIR that holds a character that no Windows name holds.
bool parse_base_value(wide_text_view value, base_definition& base, wide_text& error);

// Appends base to bases; false, with the message in error, when bases
// names its variable already.
bool add_base_definition(std::vector<base_definition>& bases, base_definition base, wide_text& error);

}  // namespace addfolder
