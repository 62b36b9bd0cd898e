#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "file_access.h"
#include "file_system.h"
#include "posix_path.h"

namespace addfolder {
namespace {

// Links are followed at most this often, as the system itself does.
constexpr int most_link_hops = 40;

// The POSIX spelling of a wide path; false for an empty one, which names no file.
bool to_native(const wide_path& path, std::string& native) { return to_posix_path(path, native) && !native.empty(); }

// A descriptor that is closed at the end of its scope.
struct descriptor {
  int fd = -1;
  ~descriptor() {
    if (fd >= 0) close(fd);
  }
  // Closes now and tells whether the system kept every write.
  bool close_checked() {
    const int closing = fd;
    fd = -1;
    return close(closing) == 0;
  }
};

// The folder part of a path, with its trailing "/", or empty for a bare name.
std::string folder_of(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file that a write to path reaches: every link followed to its final
// target, which need not exist yet.
bool final_target(std::string path, std::string& target) {
  for (int hop = 0; hop <= most_link_hops; ++hop) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0) {
      if (errno != ENOENT) return false;
      target = std::move(path);
      return true;
    }
    if (!S_ISLNK(info.st_mode)) {
      target = std::move(path);
      return true;
    }
    std::string link(256, '\0');
    while (true) {
      const ssize_t length = readlink(path.c_str(), link.data(), link.size());
      if (length < 0) return false;
      if (static_cast<size_t>(length) < link.size()) {
        link.resize(static_cast<size_t>(length));
        break;
      }
      link.resize(link.size() * 2);
    }
    if (link.empty()) return false;
    path = link.front() == '/' ? link : folder_of(path) + link;
  }
  return false;
}

// A file without any write permission bit is read-only for everybody, root
// included, although root may write to it; otherwise the caller must be
// allowed to write it.
bool is_read_only(const std::string& file, const struct stat& info) {
  return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(file.c_str(), W_OK) != 0;
}

// A hidden name beside target that no earlier call gave.
std::string name_beside(const std::string& target, const char* extension) {
  const std::string folder = folder_of(target);
  return folder + "." + target.substr(folder.size()) + unique_name_suffix(extension);
}

// Creates a new file beside target, with the mode a new file gets (0666
// less the umask); returns its descriptor, or -1.
int create_temporary(const std::string& target, std::string& temporary) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = name_beside(target, temporary_extension);
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Gives a new file the owner, group and permissions of the file it replaces,
// as far as the system allows a change of owner.
bool take_permissions(int fd, const struct stat& info) {
  if (info.st_uid != geteuid() || info.st_gid != getegid()) {
    // Only root may give a file away; otherwise the group is kept where the
    // caller belongs to it, and the file becomes the caller's.
    if (fchown(fd, info.st_uid, info.st_gid) != 0) {
      const int group_kept = fchown(fd, static_cast<uid_t>(-1), info.st_gid);
      static_cast<void>(group_kept);
    }
  }
  return fchmod(fd, info.st_mode & 07777) == 0;
}

// Removes the temporary file unless the replacement went through.
struct temporary_file {
  std::string path;
  ~temporary_file() {
    if (!path.empty()) unlink(path.c_str());
  }
};

struct descriptor_writer : pugi::xml_writer {
  explicit descriptor_writer(int fd) : fd(fd) {}
  void write(const void* data, size_t size) override {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0 && !failed) {
      const ssize_t written = ::write(fd, bytes, size);
      if (written < 0) {
        if (errno != EINTR) failed = true;
        continue;
      }
      bytes += written;
      size -= static_cast<size_t>(written);
    }
  }
  int fd;
  bool failed = false;
};

// The stamp of what a status gives.
file_stamp stamp_of(const struct stat& info) {
#ifdef __APPLE__
  const struct timespec& modified = info.st_mtimespec;
#else
  const struct timespec& modified = info.st_mtim;
#endif
  file_stamp stamp;
  stamp.exists = true;
  stamp.volume = static_cast<unsigned long long>(info.st_dev);
  stamp.identity = static_cast<unsigned long long>(info.st_ino);
  stamp.size = static_cast<unsigned long long>(info.st_size);
  stamp.modified = static_cast<long long>(modified.tv_sec) * 1000000000 + modified.tv_nsec;
  return stamp;
}

}  // namespace

const beside_naming host_beside_naming = beside_naming::posix;

bool read_whole_file(const wide_path& file, file_bytes& bytes, file_stamp* stamp) {
  bytes = file_bytes{};
  std::string native;
  if (!to_native(file, native)) return false;
  // Not blocking: a FIFO under the file's name must not stall the run.
  descriptor input{open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
  if (input.fd < 0) return false;
  struct stat info;
  if (fstat(input.fd, &info) != 0 || !S_ISREG(info.st_mode)) return false;
  if (stamp != nullptr) *stamp = stamp_of(info);
  const size_t size_hint = S_ISREG(info.st_mode) ? static_cast<size_t>(info.st_size) : 0;
  return read_until_end(bytes, size_hint, [&](char* buffer, size_t room) -> long long {
    while (true) {
      const ssize_t count = read(input.fd, buffer, room);
      if (count >= 0 || errno != EINTR) return count;
    }
  });
}

int query_file_stamp(const wide_path& file, file_stamp& stamp) {
  std::string native;
  if (!to_posix_path(file, native)) return EILSEQ;
  struct stat info;
  if (stat(native.c_str(), &info) != 0) {
    if (!is_not_found_error(errno)) return errno;
    stamp = file_stamp{};
    return 0;
  }
  stamp = stamp_of(info);
  return 0;
}

bool replace_file(const wide_path& file, const std::function<void(pugi::xml_writer&)>& write_content) {
  std::string native;
  std::string target;
  if (!to_native(file, native) || !final_target(native, target)) return false;

  struct stat info;
  const bool exists = stat(target.c_str(), &info) == 0;
  if (!exists && errno != ENOENT) return false;
  if (exists && (!S_ISREG(info.st_mode) || is_read_only(target, info))) return false;

  temporary_file temporary;
  descriptor output{create_temporary(target, temporary.path)};
  if (output.fd < 0) {
    temporary.path.clear();
    return false;
  }
  if (exists && !take_permissions(output.fd, info)) return false;

  descriptor_writer writer(output.fd);
  write_content(writer);
  if (writer.failed) return false;
  // The content must be on the disk before the name points to it.
  if (fsync(output.fd) != 0 && errno != EINVAL) return false;
  if (!output.close_checked()) return false;

  if (rename(temporary.path.c_str(), target.c_str()) != 0) return false;
  temporary.path.clear();
  return true;
}

bool remove_file(const wide_path& file) {
  std::string native;
  std::string target;
  if (!to_native(file, native) || !final_target(native, target)) return false;
  return unlink(target.c_str()) == 0;
}

bool keep_old_file(const wide_path& file, wide_path& kept) {
  std::string native;
  std::string target;
  if (!to_native(file, native) || !final_target(native, target)) return false;
  struct stat info;
  if (stat(target.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || is_read_only(target, info)) return false;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = name_beside(target, kept_extension);
    if (link(target.c_str(), name.c_str()) == 0) {
      if (!from_posix_path(name, kept)) {
        unlink(name.c_str());
        return false;
      }
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

bool put_back_old_file(const wide_path& kept, const wide_path& file) {
  std::string kept_native;
  std::string native;
  std::string target;
  if (!to_native(kept, kept_native) || !to_native(file, native) || !final_target(native, target)) return false;
  return rename(kept_native.c_str(), target.c_str()) == 0;
}

void forget_old_file(const wide_path& kept) {
  std::string native;
  if (to_native(kept, native)) unlink(native.c_str());
}

}  // namespace addfolder
