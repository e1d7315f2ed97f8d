#include "app/Interrupt.h"

#include <signal.h>

#include <csignal>

namespace {

volatile std::sig_atomic_t g_Signal = 0;
struct sigaction g_OldInt, g_OldTerm;

void AskToStop(int signal) { g_Signal = signal; }

}  // namespace

cInterruptScope::cInterruptScope() {
  g_Signal = 0;
  struct sigaction ask{};
  ask.sa_handler = AskToStop;
  sigemptyset(&ask.sa_mask);
  sigaction(SIGINT, &ask, &g_OldInt);
  sigaction(SIGTERM, &ask, &g_OldTerm);
}

cInterruptScope::~cInterruptScope() {
  sigaction(SIGINT, &g_OldInt, nullptr);
  sigaction(SIGTERM, &g_OldTerm, nullptr);
}

void ThrowIfInterrupted() {
  if (g_Signal != 0) throw cInterrupted(g_Signal);
}

void EndAsSignalled(int signal) {
  std::signal(signal, SIG_DFL);
  std::raise(signal);
  std::_Exit(128 + signal);
}
