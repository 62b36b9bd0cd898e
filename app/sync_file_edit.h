// What --save does to the sync file's text: a new [[folder]] table after the
// user's own text, and a new base in its [base] table; the user's own text
// is never rewritten.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sync_file.h"

namespace addfolder {

// Makes the sync file's new bytes: existing, byte for byte, then folder as a
// [[folder]] table with its path in "/" separators, which every host reads,
// and its exclude, exclude_from and prune where they say anything. existing
// is the file's bytes, or nothing when there is no file: then the text begins
// with a comment line that names connection_file. New lines end as existing's
// first line does. file is how messages name the sync file. False, with error
// set and text unchanged, when existing is no valid sync file, already names
// the folder, or cannot take the table at its end, or when folder holds a
// value that the sync file refuses. Raises system_error for a text that has
// no UTF-8 form.
bool append_sync_folder(std::optional<std::string_view> existing, wide_view file, wide_view connection_file,
                        const sync_folder& folder, std::string& text, sync_file_error& error);

// Makes the sync file's new bytes with the base added: existing, byte for
// byte, with the line NAME = "DIR" (DIR in "/" separators) right after its
// [base] header, or, where it has no bases, a [base] table at its end; a
// new file begins as for append_sync_folder. False, with error set and text
// unchanged, when existing is no valid sync file, names the variable already,
// or makes its bases otherwise than by a [base] header (dotted keys, an
// inline table), or when the line makes no valid base. Raises system_error
// for a text that has no UTF-8 form.
bool add_sync_base(std::optional<std::string_view> existing, wide_view file, wide_view connection_file,
                   const base_definition& base, std::string& text, sync_file_error& error);

}  // namespace addfolder
