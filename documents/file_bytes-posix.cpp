#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "file_bytes.h"
#include "file_reading.h"
#include "posix_path.h"

namespace addfolder {
namespace {

// A descriptor that is closed at the end of its scope.
struct descriptor {
  int fd = -1;
  ~descriptor() {
    if (fd >= 0) close(fd);
  }
};

}  // namespace

document_error read_whole_file(const wide_path& file, file_bytes& bytes, file_stamp* stamp, size_t most_bytes) {
  bytes = file_bytes{};
  std::string native;
  if (!to_posix_path(file, native)) return make_document_error(document_failure::system_call, file, EILSEQ);
  if (native.empty()) return make_document_error(document_failure::system_call, file, ENOENT);
  // Not blocking: a FIFO under the file's name must not stall the run.
  descriptor input{open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
  if (input.fd < 0) return make_document_error(document_failure::system_call, file, errno);
  struct stat info;
  if (fstat(input.fd, &info) != 0) return make_document_error(document_failure::system_call, file, errno);
  if (!S_ISREG(info.st_mode)) return make_document_error(document_failure::not_a_file, file);
  if (stamp != nullptr && stamp_of_open_file(input.fd, *stamp) != 0) {
    return make_document_error(document_failure::system_call, file, errno);
  }
  return read_until_end(file, bytes, static_cast<size_t>(info.st_size), most_bytes,
                        [&](char* buffer, size_t room, int& error) -> long long {
                          while (true) {
                            const ssize_t count = read(input.fd, buffer, room);
                            if (count >= 0 || errno != EINTR) {
                              error = errno;
                              return count;
                            }
                          }
                        });
}

}  // namespace addfolder
