// Runs a command once and prints its wall time in seconds and the peak
// resident memory of its process tree in KiB: "SECONDS KIB".
//
//   addfolder-bench-measure [--input TEXT] COMMAND [ARGUMENTS...]
//
// With --input, TEXT and a line end are the command's standard input;
// otherwise it reads from /dev/null. Its own output is discarded.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  int first = 1;
  std::string input;
  bool has_input = false;
  if (argc > 2 && std::strcmp(argv[1], "--input") == 0) {
    input = std::string(argv[2]) + "\n";
    has_input = true;
    first = 3;
  }
  if (first >= argc) {
    std::fprintf(stderr, "usage: addfolder-bench-measure [--input TEXT] COMMAND [ARGUMENTS...]\n");
    return 2;
  }
  int pipe_ends[2];
  if (has_input && pipe(pipe_ends) != 0) return 2;

  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    if (has_input) {
      dup2(pipe_ends[0], 0);
      close(pipe_ends[0]);
      close(pipe_ends[1]);
    } else {
      const int null_input = open("/dev/null", O_RDONLY);
      dup2(null_input, 0);
    }
    const int null_output = open("/dev/null", O_WRONLY);
    dup2(null_output, 1);
    execvp(argv[first], argv + first);
    std::perror(argv[first]);
    _exit(127);
  }
  if (has_input) {
    close(pipe_ends[0]);
    if (write(pipe_ends[1], input.data(), input.size()) < 0) std::perror("write");
    close(pipe_ends[1]);
  }
  int status = 0;
  struct rusage usage;
  wait4(child, &status, 0, &usage);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  struct rusage children;
  getrusage(RUSAGE_CHILDREN, &children);
  std::printf("%.4f %ld\n", seconds, std::max(usage.ru_maxrss, children.ru_maxrss));
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "command failed with status %d\n", WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    return 1;
  }
  return 0;
}
