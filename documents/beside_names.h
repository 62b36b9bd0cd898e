// The names of the files that a run makes beside a document: the new
// content while it is written, a kept old file, the old file during a
// replacement on Windows, and the project's lock. Every one is dot-named on
// both hosts; on Windows the temporary file and the lock are hidden too.
// The one place that makes these names and recognises them.
#pragma once

#include "file_name_match.h"
#include "path.h"

namespace addfolder {

// What a name beside a file is for.
enum class beside_kind {
  // New content being written: ".tmp".
  temporary,
  // A second name of the old file, kept until the run ends: ".old".
  kept,
  // The old file while Windows replaces it: ".bak".
  backup,
};

// How a host names the files it makes beside a file.
struct beside_naming {
  // How the host compares the file's name.
  name_rule names = name_rule::exact;
  // Whether the host makes backups (Windows).
  bool makes_backups = false;
};

// This host's naming.
extern const beside_naming host_beside_naming;

// A name beside target, in target's folder, that no earlier call in this
// process gave: "." + the target's name + a unique suffix such as
// ".5f3a9c-1.tmp".
wide_path beside_name(wide_view target, beside_kind kind);

// The lock's name beside a project file: "." + its name + ".lock".
wide_path lock_name(wide_view project_file);

// True where name is exactly one that beside_name makes for a file called
// file_name under the naming, of any kind that the naming makes.
bool is_leftover_name(wide_view name, wide_view file_name, const beside_naming& naming);

}  // namespace addfolder
