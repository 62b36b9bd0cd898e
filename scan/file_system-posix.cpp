#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <string>

#include "file_system.h"
#include "listing_order.h"
#include "posix_path.h"
#include "text_conversion.h"

namespace addfolder {
namespace {

file_kind kind_of(mode_t mode) {
  if (S_ISREG(mode)) return file_kind::regular;
  if (S_ISDIR(mode)) return file_kind::directory;
  return file_kind::other;
}

struct directory_closer {
  void operator()(DIR* directory) const { closedir(directory); }
};

}  // namespace

const char16_t host_separator = u'/';

bool is_not_found_error(int error) { return error == ENOENT || error == ENOTDIR; }

int query_status(const wide_path& path, file_kind& kind) {
  std::string native;
  if (!to_posix_path(path, native)) return EILSEQ;
  struct stat info;
  if (stat(native.c_str(), &info) != 0) {
    if (!is_not_found_error(errno)) return errno;
    kind = file_kind::not_found;
    return 0;
  }
  kind = kind_of(info.st_mode);
  return 0;
}

int query_final_path(const wide_path& path, wide_path& final_path) {
  std::string native;
  if (!to_posix_path(path, native)) return EILSEQ;
  if (native.empty()) return ENOENT;
  std::unique_ptr<char, decltype(&std::free)> resolved(realpath(native.c_str(), nullptr), &std::free);
  if (!resolved) return errno;
  wide_path wide;
  if (!from_posix_path(resolved.get(), wide)) return EILSEQ;
  final_path = std::move(wide);
  return 0;
}

int query_current_directory(wide_path& directory) {
  std::string buffer(256, '\0');
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return errno;
    buffer.resize(buffer.size() * 2);
  }
  buffer.resize(buffer.find('\0'));
  wide_path wide;
  if (!from_posix_path(buffer, wide)) return EILSEQ;
  directory = std::move(wide);
  return 0;
}

int list_directory(const wide_path& directory, directory_listing& listing) {
  std::vector<directory_entry>& entries = listing.entries;
  entries.clear();
  listing.names.clear();
  std::string native;
  if (!to_posix_path(directory, native)) return EILSEQ;
  std::unique_ptr<DIR, directory_closer> stream(opendir(native.c_str()));
  if (!stream) return errno;
  while (true) {
    errno = 0;
    const dirent* record = readdir(stream.get());
    if (record == nullptr) {
      if (errno != 0) return errno;
      break;
    }
    const std::string_view name(record->d_name);
    if (name == "." || name == "..") continue;
    directory_entry entry;
    entry.name_start = static_cast<std::uint32_t>(listing.names.size());
    if (append_wide(listing.names, name)) {
      entry.name_length = static_cast<std::uint32_t>(listing.names.size() - entry.name_start);
    } else {
      entry.unconvertible_name = true;
    }
    entry.name_holds_backslash = name.find('\\') != std::string_view::npos;
    unsigned char type = record->d_type;
    if (type == DT_UNKNOWN) {
      struct stat info;
      if (fstatat(dirfd(stream.get()), record->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
        type = S_ISLNK(info.st_mode) ? DT_LNK : S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : DT_UNKNOWN;
      }
    }
    entry.is_directory = type == DT_DIR;
    entry.is_link = type == DT_LNK;
    entry.is_regular = type == DT_REG;
    entries.push_back(entry);
  }
  std::sort(entries.begin(), entries.end(), [&listing](const directory_entry& a, const directory_entry& b) {
    return ntfs_name_less(listing.name(a), listing.name(b));
  });
  return 0;
}

}  // namespace addfolder
