#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "link_following.h"
#include "posix_path.h"

namespace addfolder {
namespace {

// Links are followed at most this often, as the system itself does.
constexpr int most_link_hops = 40;

// The folder part of a path, with its trailing "/", or empty for a bare name.
std::string folder_of(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The text of a link; false when it cannot be read.
bool read_link(const std::string& path, std::string& link) {
  link.assign(256, '\0');
  while (true) {
    const ssize_t length = readlink(path.c_str(), link.data(), link.size());
    if (length < 0) return false;
    if (static_cast<size_t>(length) < link.size()) {
      link.resize(static_cast<size_t>(length));
      return !link.empty();
    }
    link.resize(link.size() * 2);
  }
}

}  // namespace

document_error follow_links(const wide_path& file, wide_path& followed) {
  std::string path;
  if (!to_posix_path(file, path)) return make_document_error(document_failure::system_call, file, EILSEQ);
  for (int hop = 0; hop <= most_link_hops; ++hop) {
    struct stat info;
    const bool missing = lstat(path.c_str(), &info) != 0;
    if (missing && errno != ENOENT) return make_document_error(document_failure::system_call, file, errno);
    std::string link;
    if (missing || !S_ISLNK(info.st_mode)) {
      if (!from_posix_path(path, followed)) return make_document_error(document_failure::system_call, file, EILSEQ);
      return {};
    }
    if (!read_link(path, link)) return make_document_error(document_failure::system_call, file, errno);
    path = link.front() == '/' ? link : folder_of(path) + link;
  }
  return make_document_error(document_failure::system_call, file, ELOOP);
}

}  // namespace addfolder
