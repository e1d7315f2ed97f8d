#include "LimitedRun.h"

#include <fcntl.h>
#include <linux/capability.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

namespace {

// What went wrong in the child before the program started, sent over a
// close-on-exec pipe: the parent reads end of file once exec succeeded.
constexpr char kCannotDrop = 'd';
constexpr char kCannotStart = 'e';

std::vector<char*> CStrings(std::vector<std::string>& texts) {
  std::vector<char*> result;
  for (auto& t : texts) result.push_back(t.data());
  result.push_back(nullptr);
  return result;
}

// Drops reading and writing past permission bits for the program about to
// start: from the bounding set (which limits what root gets at exec), and
// from the inheritable and ambient sets, which the bounding set does not limit.
bool DropFileOverride() {
  if (geteuid() != 0) return true;  // permission bits already apply
  for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
    if (prctl(PR_CAPBSET_DROP, cap, 0, 0, 0) != 0) return false;
  prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_CLEAR_ALL, 0, 0, 0);  // absent before Linux 4.3: nothing to clear
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2] = {};
  if (syscall(SYS_capget, &header, data) != 0) return false;
  data[0].inheritable &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
  return syscall(SYS_capset, &header, data) == 0;
}

// Only async-signal-safe calls: the test process may hold locks in other threads.
[[noreturn]] void StartChild(const cLimitedRun& run, int in, int out, int err, int report, char** argv, char** envp) {
  dup2(in, 0);
  dup2(out, 1);
  dup2(err, 2);
  if (run.fileSizeLimit > 0) {
    // Ignored, the signal becomes the write error EFBIG, which the program must tell.
    signal(SIGXFSZ, SIG_IGN);
    const rlimit size{static_cast<rlim_t>(run.fileSizeLimit), static_cast<rlim_t>(run.fileSizeLimit)};
    setrlimit(RLIMIT_FSIZE, &size);
  }
  char code = kCannotStart;
  if (run.withoutFileOverride && !DropFileOverride()) code = kCannotDrop;
  if (code != kCannotDrop && chdir(run.workDir.c_str()) == 0) execve(argv[0], argv, envp);
  const ssize_t written = write(report, &code, 1);
  (void)written;
  _exit(127);
}

// Appends what is ready on fd; false at end of file or error.
bool ReadSome(int fd, std::string& into) {
  char buffer[65536];
  const ssize_t n = read(fd, buffer, sizeof buffer);
  if (n <= 0) return false;
  into.append(buffer, static_cast<std::size_t>(n));
  return true;
}

// Reads both pipes until the program closes them or the deadline passes.
bool CollectOutput(int out, int err, std::chrono::steady_clock::time_point deadline, cRunOutcome& outcome) {
  pollfd fds[2] = {{out, POLLIN, 0}, {err, POLLIN, 0}};
  int open = 2;
  while (open > 0) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    if (poll(fds, 2, static_cast<int>(std::min<long>(left.count(), 1000))) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      if (!ReadSome(fds[i].fd, i == 0 ? outcome.out : outcome.err)) {
        fds[i].fd = -1;
        --open;
      }
    }
  }
  return true;
}

// Waits for the end of the program until the deadline; kills it after that.
void Reap(pid_t pid, std::chrono::steady_clock::time_point deadline, cRunOutcome& outcome) {
  int wstatus = 0;
  pid_t got = 0;
  while ((got = waitpid(pid, &wstatus, WNOHANG)) == 0 && !outcome.timedOut) {
    if (std::chrono::steady_clock::now() >= deadline) {
      outcome.timedOut = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (outcome.timedOut) {
    kill(pid, SIGKILL);
    waitpid(pid, &wstatus, 0);
  } else if (got != pid) {
    return;
  }
  if (WIFEXITED(wstatus)) outcome.exitStatus = WEXITSTATUS(wstatus);
  if (WIFSIGNALED(wstatus)) outcome.signal = WTERMSIG(wstatus);
}

}  // namespace

cRunOutcome RunLimited(const std::string& program, const cLimitedRun& run) {
  std::vector<std::string> argv = {program};
  argv.insert(argv.end(), run.args.begin(), run.args.end());
  std::vector<std::string> envp = run.env;
  std::vector<char*> cargv = CStrings(argv), cenvp = CStrings(envp);

  cRunOutcome outcome;
  int out[2], err[2], report[2];
  const int in = open("/dev/null", O_RDONLY | O_CLOEXEC);
  if (in < 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0 || pipe2(report, O_CLOEXEC) != 0)
    return outcome;
  const auto deadline = std::chrono::steady_clock::now() + run.limit;
  const pid_t pid = fork();
  if (pid == 0) StartChild(run, in, out[1], err[1], report[1], cargv.data(), cenvp.data());
  for (int fd : {in, out[1], err[1], report[1]}) close(fd);

  char code = 0;
  const bool failedToStart = pid > 0 && read(report[0], &code, 1) == 1;
  outcome.started = pid > 0 && !failedToStart;
  outcome.cannotDropOverride = code == kCannotDrop;
  if (pid > 0) {
    outcome.timedOut = !CollectOutput(out[0], err[0], deadline, outcome);
    Reap(pid, deadline, outcome);
  }
  for (int fd : {out[0], err[0], report[0]}) close(fd);
  return outcome;
}
