#include "platform/Terminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

bool StdinIsTerminal() { return ::isatty(STDIN_FILENO) == 1; }

bool StdoutIsTerminal() { return ::isatty(STDOUT_FILENO) == 1; }

int TerminalColumns() {
  struct winsize size{};
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_col;
}

bool WindowsNeedDisplayServer() { return true; }

bool RunsInCallersConsole() { return false; }

bool ReachCallersConsole() { return true; }
