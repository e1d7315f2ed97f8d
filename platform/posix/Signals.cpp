#include <signal.h>

#include <csignal>
#include <cstdlib>

#include "platform/Interrupt.h"

namespace {

struct sigaction g_OldInt, g_OldTerm;

void AskToStop(int signal) { RequestStop(signal); }

}  // namespace

cInterruptScope::cInterruptScope() {
  RequestStop(0);
  struct sigaction ask{};
  ask.sa_handler = AskToStop;
  // Calls a signal interrupts are made again; the run looks at the request itself.
  ask.sa_flags = SA_RESTART;
  sigemptyset(&ask.sa_mask);
  sigaction(SIGINT, &ask, &g_OldInt);
  sigaction(SIGTERM, &ask, &g_OldTerm);
}

cInterruptScope::~cInterruptScope() {
  sigaction(SIGINT, &g_OldInt, nullptr);
  sigaction(SIGTERM, &g_OldTerm, nullptr);
}

void EndAsSignalled(int signal) {
  std::signal(signal, SIG_DFL);
  std::raise(signal);
  std::_Exit(128 + signal);
}
