// Preloaded into a program under test (LD_PRELOAD) to make its walk slow
// without a slow disk: every folder opened whose path holds the text in
// SLOW_LISTING_PATH waits SLOW_LISTING_MS milliseconds (default 20) first.
// It wraps opendir for the Linux program and open/openat, through which
// Wine opens folders, for the Windows one.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <dirent.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace {

bool is_marked(const char* path) {
  const char* marker = std::getenv("SLOW_LISTING_PATH");
  return marker != nullptr && *marker != '\0' && path != nullptr && std::strstr(path, marker) != nullptr;
}

void wait_if_slow(const char* path) {
  if (!is_marked(path)) return;
  const char* milliseconds = std::getenv("SLOW_LISTING_MS");
  usleep(static_cast<useconds_t>((milliseconds != nullptr ? std::atoi(milliseconds) : 20) * 1000));
}

template <typename Function>
Function next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// Wine opens a folder as it opens a file, without O_DIRECTORY.
bool is_folder(const char* path) {
  struct stat status;
  return is_marked(path) && stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

mode_t mode_argument(int flags, va_list arguments) {
  return (flags & (O_CREAT | O_TMPFILE)) != 0 ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
}

}  // namespace

extern "C" {

DIR* opendir(const char* path) {
  wait_if_slow(path);
  return next<DIR* (*)(const char*)>("opendir")(path);
}

int open(const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = mode_argument(flags, arguments);
  va_end(arguments);
  if (is_folder(path)) wait_if_slow(path);
  return next<int (*)(const char*, int, ...)>("open")(path, flags, mode);
}

int open64(const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = mode_argument(flags, arguments);
  va_end(arguments);
  if (is_folder(path)) wait_if_slow(path);
  return next<int (*)(const char*, int, ...)>("open64")(path, flags, mode);
}

int openat(int directory, const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = mode_argument(flags, arguments);
  va_end(arguments);
  if (is_folder(path)) wait_if_slow(path);
  return next<int (*)(int, const char*, int, ...)>("openat")(directory, path, flags, mode);
}

}  // extern "C"
