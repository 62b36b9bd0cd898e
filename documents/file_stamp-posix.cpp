#include <sys/stat.h>

#include <cerrno>

#include "file_reading.h"
#include "file_stamp.h"
#include "file_system.h"
#include "posix_path.h"

namespace addfolder {
namespace {

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

int stamp_of_open_file(std::intptr_t native, file_stamp& stamp) {
  struct stat info;
  if (fstat(static_cast<int>(native), &info) != 0) return errno;
  stamp = stamp_of(info);
  return 0;
}

document_error query_file_stamp(const wide_path& file, file_stamp& stamp) {
  std::string native;
  if (!to_posix_path(file, native)) return make_document_error(document_failure::system_call, file, EILSEQ);
  struct stat info;
  if (stat(native.c_str(), &info) != 0) {
    if (!is_not_found_error(errno)) return make_document_error(document_failure::system_call, file, errno);
    stamp = file_stamp{};
    return {};
  }
  stamp = stamp_of(info);
  return {};
}

}  // namespace addfolder
