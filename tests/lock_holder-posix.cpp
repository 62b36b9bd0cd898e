#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "run_lock.h"
#include "tests/lock_holder.h"

namespace addfolder::test_support {
namespace {

ssize_t read_retried(int fd, char* byte) {
  while (true) {
    const ssize_t count = read(fd, byte, 1);
    if (count >= 0 || errno != EINTR) return count;
  }
}

}  // namespace

bool lock_holder::start(const wide_path& project_file) {
  kill();
  int answer[2];
  int waiting[2];
  if (pipe(answer) != 0) return false;
  if (pipe(waiting) != 0) {
    close(answer[0]);
    close(answer[1]);
    return false;
  }
  const pid_t child = fork();
  if (child == 0) {
    close(answer[0]);
    close(waiting[1]);
    run_lock lock;
    const bool acquired = !acquire_run_lock(project_file, std::chrono::milliseconds(0), lock) && lock.held();
    const char held = acquired ? 'y' : 'n';
    if (write(answer[1], &held, 1) == 1) {
      char ignored;
      read_retried(waiting[0], &ignored);
    }
    _exit(0);
  }
  close(answer[1]);
  close(waiting[0]);
  if (child < 0) {
    close(answer[0]);
    close(waiting[1]);
    return false;
  }
  process_ = child;
  pipe_ = waiting[1];
  char held = 'n';
  const bool answered = read_retried(answer[0], &held) == 1;
  close(answer[0]);
  return answered && held == 'y';
}

void lock_holder::kill() {
  if (process_ == 0) return;
  ::kill(static_cast<pid_t>(process_), SIGKILL);
  waitpid(static_cast<pid_t>(process_), nullptr, 0);
  close(static_cast<int>(pipe_));
  process_ = 0;
  pipe_ = 0;
}

}  // namespace addfolder::test_support
