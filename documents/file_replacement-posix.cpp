#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "beside_names.h"
#include "file_replacement.h"
#include "file_target.h"
#include "posix_path.h"

namespace addfolder {
namespace {

document_error failed(const wide_path& file, int code) {
  return make_document_error(document_failure::system_call, file, code);
}

// The native final target of file.
document_error native_target(const wide_path& file, std::string& native) {
  wide_path target;
  if (document_error error = final_target(file, target)) return error;
  if (!to_posix_path(target, native)) return failed(file, EILSEQ);
  return {};
}

// A descriptor that is closed at the end of its scope.
struct descriptor {
  int fd = -1;
  ~descriptor() {
    if (fd >= 0) close(fd);
  }
  // Closes now; the system's code when it did not keep every write, else 0.
  int close_checked() {
    const int closing = fd;
    fd = -1;
    return close(closing) == 0 ? 0 : errno;
  }
};

// A file without any write permission bit is read-only for everybody, root
// included, although root may write to it; otherwise the caller must be
// allowed to write it.
bool is_read_only(const std::string& file, const struct stat& info) {
  return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(file.c_str(), W_OK) != 0;
}

// What keeps a file from being replaced: missing (code ENOENT), not a file, read-only.
document_error check_replaceable(const wide_path& file, const std::string& target, struct stat& info) {
  if (stat(target.c_str(), &info) != 0) return failed(file, errno);
  if (!S_ISREG(info.st_mode)) return make_document_error(document_failure::not_a_file, file);
  if (is_read_only(target, info)) return make_document_error(document_failure::read_only, file);
  return {};
}

// Creates a new file beside target, with the mode a new file gets (0666
// less the umask); returns its descriptor, or -1 with errno set.
int create_temporary(const std::string& target, std::string& temporary) {
  wide_path wide;
  if (!from_posix_path(target, wide)) {
    errno = EILSEQ;
    return -1;
  }
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (!to_posix_path(beside_name(wide, beside_kind::temporary), temporary)) break;
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Gives a new file the owner, group and permissions of the file it replaces,
// as far as the system allows a change of owner.
int take_permissions(int fd, const struct stat& info) {
  if (info.st_uid != geteuid() || info.st_gid != getegid()) {
    // Only root may give a file away; otherwise the group is kept where the
    // caller belongs to it, and the file becomes the caller's.
    if (fchown(fd, info.st_uid, info.st_gid) != 0) {
      const int group_kept = fchown(fd, static_cast<uid_t>(-1), info.st_gid);
      static_cast<void>(group_kept);
    }
  }
  return fchmod(fd, info.st_mode & 07777) == 0 ? 0 : errno;
}

// Removes the temporary file unless the replacement went through.
struct temporary_file {
  std::string path;
  ~temporary_file() {
    if (!path.empty()) unlink(path.c_str());
  }
};

// Asks the system to start writing what the file has so far to the disk,
// without waiting: the sync before the rename then finds most of a large
// file written already, while the rest was being made.
void start_writing_back(int fd) {
#if defined(__linux__)
  sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
#else
  (void)fd;
#endif
}

struct descriptor_writer : pugi::xml_writer {
  explicit descriptor_writer(int fd) : fd(fd) {}
  void write(const void* data, size_t size) override {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0 && error == 0) {
      const ssize_t written = ::write(fd, bytes, size);
      if (written < 0) {
        if (errno != EINTR) error = errno;
        continue;
      }
      bytes += written;
      size -= static_cast<size_t>(written);
      unsynced += static_cast<size_t>(written);
    }
    if (unsynced >= writeback_bytes) {
      start_writing_back(fd);
      unsynced = 0;
    }
  }
  static constexpr size_t writeback_bytes = 1 << 20;
  int fd;
  int error = 0;
  size_t unsynced = 0;
};

// Writes the content into the new file and makes sure the disk has it.
int write_new_file(descriptor& output, const std::function<void(pugi::xml_writer&)>& write_content) {
  descriptor_writer writer(output.fd);
  write_content(writer);
  if (writer.error != 0) return writer.error;
  // The content must be on the disk before the name points to it.
  if (fsync(output.fd) != 0 && errno != EINVAL) return errno;
  return output.close_checked();
}

}  // namespace

const beside_naming host_beside_naming{name_rule::exact, false};

document_error replace_file(const wide_path& file, const std::function<void(pugi::xml_writer&)>& write_content) {
  std::string target;
  if (document_error error = native_target(file, target)) return error;
  struct stat info;
  const document_error replaceable = check_replaceable(file, target, info);
  const bool exists = !replaceable || replaceable.code != ENOENT;
  if (exists && replaceable) return replaceable;

  temporary_file temporary;
  descriptor output{create_temporary(target, temporary.path)};
  if (output.fd < 0) {
    temporary.path.clear();
    return failed(file, errno);
  }
  if (exists) {
    if (const int code = take_permissions(output.fd, info); code != 0) return failed(file, code);
  }
  if (const int code = write_new_file(output, write_content); code != 0) return failed(file, code);
  if (rename(temporary.path.c_str(), target.c_str()) != 0) return failed(file, errno);
  temporary.path.clear();
  return {};
}

document_error remove_file(const wide_path& file) {
  std::string target;
  if (document_error error = native_target(file, target)) return error;
  return unlink(target.c_str()) == 0 ? document_error{} : failed(file, errno);
}

document_error keep_old_file(const wide_path& file, wide_path& kept) {
  std::string target;
  if (document_error error = native_target(file, target)) return error;
  struct stat info;
  if (document_error error = check_replaceable(file, target, info)) return error;
  wide_path wide_target;
  if (!from_posix_path(target, wide_target)) return failed(file, EILSEQ);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const wide_path name = beside_name(wide_target, beside_kind::kept);
    std::string native;
    if (!to_posix_path(name, native)) return failed(file, EILSEQ);
    if (link(target.c_str(), native.c_str()) == 0) {
      kept = name;
      return {};
    }
    if (errno != EEXIST) return failed(file, errno);
  }
  return failed(file, EEXIST);
}

document_error put_back_old_file(const wide_path& kept, const wide_path& file) {
  std::string kept_native;
  std::string target;
  if (!to_posix_path(kept, kept_native) || kept_native.empty()) return failed(file, EILSEQ);
  if (document_error error = native_target(file, target)) return error;
  return rename(kept_native.c_str(), target.c_str()) == 0 ? document_error{} : failed(file, errno);
}

void forget_old_file(const wide_path& kept) {
  std::string native;
  if (to_posix_path(kept, native) && !native.empty()) unlink(native.c_str());
}

}  // namespace addfolder
