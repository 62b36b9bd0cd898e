#include <windows.h>

#include <string>

#include "run_lock.h"
#include "win32_path.h"
#include "tests/lock_holder.h"

namespace addfolder::test_support {
namespace {

// Names the project file whose lock the process that start() makes holds.
constexpr wchar_t project_variable[] = L"ADDFOLDER_TEST_LOCK_HOLDER";

// In the process that start() makes, before any test would run: takes the
// lock, answers on standard output, and waits until its standard input ends.
const bool holds_lock = [] {
  std::wstring project(32768, L'\0');
  const DWORD length = GetEnvironmentVariableW(project_variable, project.data(), static_cast<DWORD>(project.size()));
  if (length == 0 || length >= project.size()) return false;
  project.resize(length);
  run_lock lock;
  const bool acquired =
      !acquire_run_lock(from_win32_text(project), std::chrono::milliseconds(0), lock) && lock.held();
  const char held = acquired ? 'y' : 'n';
  DWORD count = 0;
  if (WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), &held, 1, &count, nullptr)) {
    char ignored;
    ReadFile(GetStdHandle(STD_INPUT_HANDLE), &ignored, 1, &count, nullptr);
  }
  ExitProcess(0);
}();

std::wstring this_program() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path;
}

}  // namespace

bool lock_holder::start(const wide_path& project_file) {
  kill();
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE answer_read = nullptr;
  HANDLE answer_write = nullptr;
  HANDLE waiting_read = nullptr;
  HANDLE waiting_write = nullptr;
  if (!CreatePipe(&answer_read, &answer_write, &inherited, 0)) return false;
  if (!CreatePipe(&waiting_read, &waiting_write, &inherited, 0)) {
    CloseHandle(answer_read);
    CloseHandle(answer_write);
    return false;
  }
  // The child inherits only its own ends.
  SetHandleInformation(answer_read, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(waiting_write, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = waiting_read;
  startup.hStdOutput = answer_write;
  startup.hStdError = answer_write;
  const std::wstring program = this_program();
  std::wstring command = L"\"" + program + L"\"";
  PROCESS_INFORMATION process{};
  SetEnvironmentVariableW(project_variable, to_win32_text(project_file).c_str());
  const bool started = CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                      &startup, &process);
  SetEnvironmentVariableW(project_variable, nullptr);
  CloseHandle(answer_write);
  CloseHandle(waiting_read);
  if (!started) {
    CloseHandle(answer_read);
    CloseHandle(waiting_write);
    return false;
  }
  CloseHandle(process.hThread);
  process_ = reinterpret_cast<std::intptr_t>(process.hProcess);
  pipe_ = reinterpret_cast<std::intptr_t>(waiting_write);
  char held = 'n';
  DWORD count = 0;
  const bool answered = ReadFile(answer_read, &held, 1, &count, nullptr) && count == 1;
  CloseHandle(answer_read);
  return answered && held == 'y';
}

void lock_holder::kill() {
  if (process_ == 0) return;
  const HANDLE process = reinterpret_cast<HANDLE>(process_);
  TerminateProcess(process, 1);
  WaitForSingleObject(process, INFINITE);
  CloseHandle(process);
  CloseHandle(reinterpret_cast<HANDLE>(pipe_));
  process_ = 0;
  pipe_ = 0;
}

}  // namespace addfolder::test_support
