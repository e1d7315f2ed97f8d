#include "RunProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

namespace {

constexpr auto kTimeout = std::chrono::seconds(60);

std::vector<char*> CStrings(std::vector<std::string>& texts) {
  std::vector<char*> result;
  for (auto& t : texts) result.push_back(t.data());
  result.push_back(nullptr);
  return result;
}

int WaitFor(pid_t pid, bool kill) {
  if (kill) ::kill(pid, SIGKILL);
  int wstatus = 0;
  if (waitpid(pid, &wstatus, 0) != pid || !WIFEXITED(wstatus)) return -1;
  return WEXITSTATUS(wstatus);
}

// Appends what is ready on fd; false at end of file or error.
bool ReadSome(int fd, std::string& into) {
  char buffer[4096];
  const ssize_t n = read(fd, buffer, sizeof buffer);
  if (n <= 0) return false;
  into.append(buffer, static_cast<std::size_t>(n));
  return true;
}

}  // namespace

cProcessResult RunWithPipes(const std::string& program, const std::vector<std::string>& args,
                            const std::vector<std::string>& env, const std::string& input) {
  int in[2], out[2], err[2];
  if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) posix_spawn_file_actions_addclose(&actions, fd);
  std::vector<std::string> argv = {program};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<std::string> envp = env;
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, CStrings(argv).data(), CStrings(envp).data());
  posix_spawn_file_actions_destroy(&actions);
  for (int fd : {in[0], out[1], err[1]}) close(fd);
  if (rc != 0) {
    for (int fd : {in[1], out[0], err[0]}) close(fd);
    return {};
  }
  // Small answers fit the pipe's buffer; a program that never reads still sees them,
  // and one that has already ended must not take the test down with SIGPIPE.
  signal(SIGPIPE, SIG_IGN);
  const ssize_t written = write(in[1], input.data(), input.size());
  (void)written;
  close(in[1]);

  cProcessResult result;
  const auto deadline = std::chrono::steady_clock::now() + kTimeout;
  pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  int open = 2;
  while (open > 0 && std::chrono::steady_clock::now() < deadline) {
    if (poll(fds, 2, 1000) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      if (!ReadSome(fds[i].fd, i == 0 ? result.out : result.err)) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  for (const pollfd& p : fds)
    if (p.fd >= 0) close(p.fd);
  result.status = WaitFor(pid, open > 0);
  return result;
}

cProcessResult RunOnTerminal(const std::string& program, const std::vector<std::string>& args,
                             const std::vector<std::string>& env, const std::string& prompt,
                             const std::string& answer) {
  std::vector<std::string> argv = {program};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<std::string> envp = env;
  std::vector<char*> cargv = CStrings(argv), cenvp = CStrings(envp);
  int master = -1;
  const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
  if (pid < 0) return {};
  if (pid == 0) {
    execve(program.c_str(), cargv.data(), cenvp.data());
    _exit(127);
  }
  cProcessResult result;
  bool answered = false;
  bool ended = false;
  const auto deadline = std::chrono::steady_clock::now() + kTimeout;
  pollfd fd = {master, POLLIN, 0};
  while (!ended && std::chrono::steady_clock::now() < deadline) {
    if (poll(&fd, 1, 1000) <= 0) continue;
    ended = !ReadSome(master, result.out);  // EIO once the program has closed the terminal
    if (!answered && result.out.find(prompt) != std::string::npos) {
      answered = true;
      if (write(master, answer.data(), answer.size()) < 0) ended = true;
    }
  }
  close(master);
  result.status = WaitFor(pid, !ended);
  return result;
}
