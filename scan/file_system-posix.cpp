#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <atomic>
#include <cerrno>
#include <cstddef>
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

namespace {

// Folders kept open at once, at most: a tree both wide and deep must leave
// descriptors for the rest of the run. Beyond this, subfolders are opened by
// their paths.
std::atomic<int> kept_folders{0};

}  // namespace

struct open_folder {
  int descriptor;
  explicit open_folder(int kept) : descriptor(kept) {}
  ~open_folder() {
    close(descriptor);
    kept_folders.fetch_sub(1, std::memory_order_relaxed);
  }
};

namespace {

// A descriptor that closes when it goes, unless it was handed on.
struct descriptor_guard {
  int descriptor = -1;
  ~descriptor_guard() {
    if (descriptor >= 0) close(descriptor);
  }
};

int most_kept_folders() {
  static const int most = [] {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return 256;
    return static_cast<int>(std::min<rlim_t>(256, limit.rlim_cur / 4));
  }();
  return most;
}

// The length of a path in UTF-8 reaches the system's limit: the other
// programs that read the files it lists (and the Windows build, which opens
// every folder by its path) cannot open it, so the walk does not list it.
bool is_too_long(wide_view path) {
  // Each UTF-16 unit takes three bytes at most.
  if (path.size() * 3 < PATH_MAX) return false;
  std::size_t bytes = 0;
  for (const char16_t unit : path) bytes += unit < 0x80 ? 1 : unit < 0x800 || (unit >= 0xD800 && unit < 0xE000) ? 2 : 3;
  return bytes >= PATH_MAX;
}

int open_directory(const wide_path& directory, const open_folder* parent, wide_view name, int& descriptor) {
  constexpr int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
  std::string native;
  if (parent != nullptr) {
    if (is_too_long(directory)) return ENAMETOOLONG;
    // The listing saw a folder of this name, no link: should a link have
    // taken its place since, it is not followed.
    if (!append_narrow(native, name)) return EILSEQ;
    descriptor = openat(parent->descriptor, native.c_str(), flags | O_NOFOLLOW);
  } else {
    if (!to_posix_path(directory, native)) return EILSEQ;
    descriptor = open(native.c_str(), flags);
  }
  return descriptor < 0 ? errno : 0;
}

void add_entry(directory_listing& listing, int descriptor, const char* native_name, unsigned char type) {
  const std::string_view name(native_name);
  if (name == "." || name == "..") return;
  directory_entry entry;
  entry.name_start = static_cast<std::uint32_t>(listing.names.size());
  if (append_wide(listing.names, name)) {
    entry.name_length = static_cast<std::uint32_t>(listing.names.size() - entry.name_start);
  } else {
    entry.unconvertible_name = true;
  }
  entry.name_holds_backslash = name.find('\\') != std::string_view::npos;
  if (type == DT_UNKNOWN) {
    struct stat info;
    if (fstatat(descriptor, native_name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
      type = S_ISLNK(info.st_mode) ? DT_LNK : S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : DT_UNKNOWN;
    }
  }
  entry.is_directory = type == DT_DIR;
  entry.is_link = type == DT_LNK;
  entry.is_regular = type == DT_REG;
  listing.entries.push_back(entry);
}

#if defined(__linux__)
// Makes room for the records of one read at once: growing the lists entry by
// entry costs a dozen allocations for an ordinary folder. A name takes at
// most as many UTF-16 units as it has bytes, and its record has room for
// those and a little padding.
void reserve_for_records(directory_listing& listing, const char* buffer, ssize_t length) {
  std::size_t records = 0;
  std::size_t name_bytes = 0;
  for (ssize_t offset = 0; offset < length;) {
    const auto* record = reinterpret_cast<const dirent64*>(buffer + offset);
    offset += record->d_reclen;
    ++records;
    name_bytes += record->d_reclen - offsetof(dirent64, d_name);
  }
  listing.entries.reserve(listing.entries.size() + records);
  listing.names.reserve(listing.names.size() + name_bytes);
}

// Reads the records straight into a buffer on the stack: no stream to
// allocate and no status query per folder, as a directory stream needs.
int read_entries(int descriptor, directory_listing& listing) {
  alignas(dirent64) char buffer[32768];
  while (true) {
    const ssize_t length = getdents64(descriptor, buffer, sizeof buffer);
    if (length < 0) return errno;
    if (length == 0) return 0;
    reserve_for_records(listing, buffer, length);
    for (ssize_t offset = 0; offset < length;) {
      const auto* record = reinterpret_cast<const dirent64*>(buffer + offset);
      offset += record->d_reclen;
      add_entry(listing, descriptor, record->d_name, record->d_type);
    }
  }
}
#else
struct directory_closer {
  void operator()(DIR* directory) const { closedir(directory); }
};

int read_entries(int descriptor, directory_listing& listing) {
  // The stream takes the descriptor it is given; the folder keeps its own.
  const int copy = dup(descriptor);
  if (copy < 0) return errno;
  std::unique_ptr<DIR, directory_closer> stream(fdopendir(copy));
  if (!stream) {
    const int error = errno;
    close(copy);
    return error;
  }
  while (true) {
    errno = 0;
    const dirent* record = readdir(stream.get());
    if (record == nullptr) return errno;
    add_entry(listing, descriptor, record->d_name, record->d_type);
  }
}
#endif

}  // namespace

int list_subdirectory(const wide_path& directory, const open_folder* parent, wide_view name,
                      directory_listing& listing, std::shared_ptr<open_folder>* keep) {
  listing.entries.clear();
  listing.names.clear();
  descriptor_guard guard;
  if (const int error = open_directory(directory, parent, name, guard.descriptor); error != 0) return error;
  if (const int error = read_entries(guard.descriptor, listing); error != 0) return error;
  sort_in_ntfs_order(listing);
  const auto holds_folders = std::any_of(listing.entries.begin(), listing.entries.end(),
                                         [](const directory_entry& entry) { return entry.is_directory; });
  if (keep == nullptr || !holds_folders) return 0;
  if (kept_folders.fetch_add(1, std::memory_order_relaxed) >= most_kept_folders()) {
    kept_folders.fetch_sub(1, std::memory_order_relaxed);
    return 0;
  }
  try {
    *keep = std::make_shared<open_folder>(guard.descriptor);
  } catch (...) {
    kept_folders.fetch_sub(1, std::memory_order_relaxed);
    throw;
  }
  guard.descriptor = -1;
  return 0;
}

int list_directory(const wide_path& directory, directory_listing& listing) {
  return list_subdirectory(directory, nullptr, {}, listing, nullptr);
}

}  // namespace addfolder
