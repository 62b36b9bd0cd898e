// The file-system calls the core needs, behind one interface.
//
// Each call returns the platform's error code (0 on success): errno on POSIX,
// the Win32 error on Windows. Paths are wide paths in the Windows syntax on
// every host; on POSIX "\" becomes "/" on the way to the system.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "path.h"

namespace addfolder {

// The separator of the host's own paths: "/" on POSIX, "\" on Windows.
extern const char16_t host_separator;

// What a path names.
enum class file_kind { not_found, regular, directory, other };

// One entry of a directory listing, with what the listing itself reports.
struct directory_entry {
  // Where the name lies in the listing's names: it is stored as the file
  // system stores it, and it is empty for an unconvertible name.
  std::uint32_t name_start = 0;
  std::uint32_t name_length = 0;
  // The entry is a directory that a walk enters (never true for a link).
  bool is_directory = false;
  // The entry is a symbolic link or a junction: yielded, never entered.
  bool is_link = false;
  // The entry is a regular file and no link, so no status query is needed.
  bool is_regular = false;
  // The name has no wide form (invalid UTF-8 on POSIX); name is then empty.
  bool unconvertible_name = false;
  // The name holds "\", which POSIX allows in a name but a Windows project
  // reads as a separator, so the entry cannot be named there.
  bool name_holds_backslash = false;
};

// The entries of one directory, their names back to back in one buffer, so
// that a listing costs a few allocations whatever the number of entries.
struct directory_listing {
  std::vector<directory_entry> entries;
  wide_path names;
  // The name of one of the entries.
  wide_view name(const directory_entry& entry) const {
    return wide_view(names).substr(entry.name_start, entry.name_length);
  }
};

// The status of a path, following links. A missing path is not an error: it
// gives file_kind::not_found and 0.
int query_status(const wide_path& path, file_kind& kind);

// True for the codes that mean the path does not exist: file not found, path
// not found, invalid name.
bool is_not_found_error(int error);

// The final path of an existing object: absolute, every link resolved, every
// name as stored, "\" separators, without the platform's long-path prefix.
int query_final_path(const wide_path& path, wide_path& final_path);

// The working directory of the process.
int query_current_directory(wide_path& directory);

// Lists a directory without "." and "..". On Windows in the platform's order;
// on POSIX in the order NTFS gives, so that both hosts walk alike.
int list_directory(const wide_path& directory, directory_listing& listing);

// A listed folder kept open, where the platform can, so that its subfolders
// are opened by name relative to it: the system then need not resolve every
// level of their paths again, and paths past the system's length limit stay
// reachable. Closed when the last holder lets it go.
struct open_folder;

// Lists a directory as list_directory does. With a parent, it is opened as
// the entry name of that open folder (never through a link); without, by its
// path. With keep, a directory that holds folders may be kept open in it for
// its own subfolders; keep stays null where the platform keeps none.
int list_subdirectory(const wide_path& directory, const open_folder* parent, wide_view name,
                      directory_listing& listing, std::shared_ptr<open_folder>* keep);

}  // namespace addfolder
