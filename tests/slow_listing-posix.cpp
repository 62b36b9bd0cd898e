// Preloaded into a program under test (LD_PRELOAD) to make its walk slow
// without a slow disk: every folder listed whose path holds the text in
// SLOW_LISTING_PATH waits SLOW_LISTING_MS milliseconds (default 20) first.
// It wraps opendir, through which Wine reads folders, getdents64, through
// which the Linux program reads them, and the getdents64 system call, which
// Wine may call itself. Wine's server, which opens the folders, must not be
// slowed: it serves the windows too.
#include <dlfcn.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <dirent.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
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

void wait_if_slow_descriptor(int descriptor) {
  char link[64];
  char path[4096];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", descriptor);
  const ssize_t length = readlink(link, path, sizeof path - 1);
  if (length <= 0) return;
  path[length] = '\0';
  wait_if_slow(path);
}

template <typename Function>
Function next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

DIR* opendir(const char* path) {
  // Wine changes into the folder and opens ".".
  char real[4096];
  wait_if_slow(realpath(path, real) != nullptr ? real : path);
  return next<DIR* (*)(const char*)>("opendir")(path);
}

ssize_t getdents64(int descriptor, void* buffer, size_t length) {
  // A folder is read in several calls: only the first, at its start, waits.
  if (lseek(descriptor, 0, SEEK_CUR) == 0) wait_if_slow_descriptor(descriptor);
  return next<ssize_t (*)(int, void*, size_t)>("getdents64")(descriptor, buffer, length);
}

long syscall(long number, ...) {
  va_list arguments;
  va_start(arguments, number);
  long argument[6];
  for (long& value : argument) value = va_arg(arguments, long);
  va_end(arguments);
  if (number == SYS_getdents64) wait_if_slow_descriptor(static_cast<int>(argument[0]));
  return next<long (*)(long, ...)>("syscall")(number, argument[0], argument[1], argument[2], argument[3], argument[4],
                                               argument[5]);
}

}  // extern "C"
