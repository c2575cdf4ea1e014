// Test helper: runs the real program as a child process, with standard input
// from a file holding the answers and standard output into a file, in a given
// working directory, optionally under the unprivileged user nobody, with a
// limit on its stack or with other limits of the caller's, and killed when
// it outlasts a time limit.  Standard error is caught too, unless
// LD_PROGRAM_STDERR is set (then it is the test's own).
#pragma once

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "temp_dir.h"

namespace testsupport {

constexpr uid_t kNobody = 65534;  // nobody / nogroup

struct ProgramRun {
  bool ended = false;      // the program ended by itself within the time limit
  int status = -1;         // its exit status (-1: killed by a signal)
  int signal = 0;          // the signal that ended it, if any
  std::string out;         // what it printed on standard output
  std::string err;         // what it printed on standard error
  double cpu_seconds = 0;  // processor time of the program (user + system)
};

// Runs exe in dir on answers.  A timeout_s of 0 or less waits as long as the
// program runs.  With as_nobody the child drops to the user and group nobody
// before it starts the program (the caller must be root, and exe and dir
// reachable by nobody).  A stack_limit_kb above 0 starts the program with
// that limit on the size of its stack.  in_child, when given, runs in the
// child last before the program starts (to set limits of the process, say);
// when it returns false the program is not started (status 125).
inline ProgramRun run_program(const std::string& exe, const fs::path& dir,
                              const std::string& answers, int timeout_s,
                              bool as_nobody = false, long stack_limit_kb = 0,
                              const std::function<bool()>& in_child = {}) {
  const TempDir io("ld_prog_io");
  const fs::path in_file = io.path() / "input";
  const fs::path out_file = io.path() / "stdout";
  const fs::path err_file = io.path() / "stderr";
  put(in_file, answers);
  ProgramRun r;
  const pid_t pid = fork();
  if (pid == 0) {
    const int in = open(in_file.c_str(), O_RDONLY);
    const int out = open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0 || chdir(dir.c_str()) != 0) _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    if (std::getenv("LD_PROGRAM_STDERR") == nullptr) dup2(err, 2);
    if (as_nobody && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 ||
                      setuid(kNobody) != 0))
      _exit(126);
    if (stack_limit_kb > 0) {
      const rlimit lim{static_cast<rlim_t>(stack_limit_kb) * 1024,
                       static_cast<rlim_t>(stack_limit_kb) * 1024};
      if (setrlimit(RLIMIT_STACK, &lim) != 0) _exit(125);
    }
    if (in_child && !in_child()) _exit(125);
    execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  if (pid > 0) {
    int st = 0;
    rusage ru{};
    if (timeout_s <= 0) {
      r.ended = wait4(pid, &st, 0, &ru) == pid;
    } else {
      const auto deadline =
          std::chrono::steady_clock::now() + std::chrono::seconds(timeout_s);
      for (;;) {
        if (wait4(pid, &st, WNOHANG, &ru) == pid) {
          r.ended = true;
          break;
        }
        if (std::chrono::steady_clock::now() > deadline) {
          kill(pid, SIGKILL);
          waitpid(pid, &st, 0);
          break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
    }
    if (r.ended) {
      r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
      r.signal = WIFSIGNALED(st) ? WTERMSIG(st) : 0;
      r.cpu_seconds =
          static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
          static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) * 1e-6;
    }
  }
  r.out = slurp(out_file);
  r.err = slurp(err_file);
  return r;
}

}  // namespace testsupport
