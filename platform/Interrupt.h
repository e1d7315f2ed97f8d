#pragma once
#include <stdexcept>

// Ctrl-C or a termination request during a conversion must not leave a
// half-built site beside the old one: the signal only asks the run to stop,
// and the run stops where it next looks, cleaning up on the way out.

/// Thrown out of a run that a signal asked to stop.
class cInterrupted : public std::runtime_error {
 public:
  explicit cInterrupted(int signal) : std::runtime_error("interrupted"), m_Signal(signal) {}
  int Signal() const { return m_Signal; }

 private:
  int m_Signal;
};

/// While alive, Ctrl-C and termination requests ask the run to stop instead of ending the program.
class cInterruptScope {
 public:
  cInterruptScope();
  ~cInterruptScope();
  cInterruptScope(const cInterruptScope&) = delete;
  cInterruptScope& operator=(const cInterruptScope&) = delete;
};

/// The signal that asked the run to stop, or 0. Safe from any thread.
int StopRequested();
/// Asks the run to stop as `signal` would; safe in a signal handler.
void RequestStop(int signal);
/// Throws cInterrupted when a signal asked the run to stop.
void ThrowIfInterrupted();
/// Ends the program as the signal would have, had nobody caught it.
[[noreturn]] void EndAsSignalled(int signal);
