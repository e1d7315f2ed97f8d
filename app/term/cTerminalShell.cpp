#include "app/term/cTerminalShell.h"

#include <fcntl.h>
#include <spawn.h>

#include <ostream>
#include <vector>

extern char** environ;

cTerminalShell::cTerminalShell(std::string desktopPath, std::ostream& out, bool launchOpener)
    : m_DesktopPath(std::move(desktopPath)), m_Out(out), m_LaunchOpener(launchOpener) {}

int32_t cTerminalShell::ShellOpen(const std::string& file, const std::string& /*params*/,
                                  const std::string& /*dir*/) {
  m_Out << (m_LaunchOpener ? "Opening " : "Open in a web browser: ") << file << "\n" << std::flush;
  return m_LaunchOpener && Launch(file) ? 1 : 0;
}

void cTerminalShell::OpenDownloadPage() {
  m_Out << (m_LaunchOpener ? "Opening " : "Download page: ") << kDownloadPage << "\n" << std::flush;
  if (m_LaunchOpener) Launch(kDownloadPage);
}

// Starts xdg-open without waiting: like the shell, the program does not watch what it opened.
bool cTerminalShell::Launch(const std::string& target) {
  std::string program = "xdg-open";
  std::vector<char*> argv = {program.data(), const_cast<char*>(target.c_str()), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0;
}
