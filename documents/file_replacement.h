// Replacing a document file so that it is never seen half-written, and the
// second names that let a run put an old file back without room on the disk.
#pragma once

#include <functional>

#include <pugixml.hpp>

#include "document_error.h"
#include "path.h"

namespace addfolder {

// Writes the content that write_content produces into a new temporary file
// beside the final target of file, then puts it in place of the target in one
// step. An existing target keeps its permissions; a read-only one is never
// replaced. On an error the old file is untouched and the temporary file gone.
document_error replace_file(const wide_path& file, const std::function<void(pugi::xml_writer&)>& write_content);

// Removes the final target of file, as replace_file made it.
document_error remove_file(const wide_path& file);

// Gives the final target of file a second name beside it, so that after a
// replacement the old file can be put back by a rename. An error, with
// nothing made, where the file is missing or read-only (so never replaced),
// or the file system has no second names.
document_error keep_old_file(const wide_path& file, wide_path& kept);

// Puts a kept file back in place of the final target of file in one step;
// on an error the kept name remains.
document_error put_back_old_file(const wide_path& kept, const wide_path& file);

// Removes a kept name; the file it names stays under its other names. A
// failure leaves the name for the next run's clearing of leftovers.
void forget_old_file(const wide_path& kept);

}  // namespace addfolder
