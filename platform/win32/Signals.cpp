#include <windows.h>

#include <csignal>
#include <cstdlib>

#include "platform/Interrupt.h"

namespace {

// Ctrl-C and Ctrl-Break ask as SIGINT would; closing the console, logging
// off or shutting down as SIGTERM would. Windows ends the program shortly
// after such a request, so the run stops at its next look.
BOOL WINAPI AskToStop(DWORD event) {
  RequestStop(event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? SIGINT : SIGTERM);
  return TRUE;
}

}  // namespace

cInterruptScope::cInterruptScope() {
  RequestStop(0);
  ::SetConsoleCtrlHandler(AskToStop, TRUE);
}

cInterruptScope::~cInterruptScope() { ::SetConsoleCtrlHandler(AskToStop, FALSE); }

void EndAsSignalled(int signal) {
  // The status a shell gives a program a signal ended.
  std::_Exit(128 + signal);
}
