#pragma once
#include <stdexcept>

#include "sensyu/WindowServices.h"

// Ctrl-C or a termination request during a conversion must not leave a
// half-built site beside the old one: the signal only asks the run to stop,
// and the run stops at its next window update, cleaning up on the way out.

/// Thrown out of a run that a signal asked to stop.
class cInterrupted : public std::runtime_error {
 public:
  explicit cInterrupted(int signal) : std::runtime_error("interrupted"), m_Signal(signal) {}
  int Signal() const { return m_Signal; }

 private:
  int m_Signal;
};

/// While alive, SIGINT and SIGTERM ask the run to stop instead of ending the program.
class cInterruptScope {
 public:
  cInterruptScope();
  ~cInterruptScope();
  cInterruptScope(const cInterruptScope&) = delete;
  cInterruptScope& operator=(const cInterruptScope&) = delete;
};

/// Throws cInterrupted when a signal asked the run to stop.
void ThrowIfInterrupted();
/// Ends the program as the signal would have, had nobody caught it.
[[noreturn]] void EndAsSignalled(int signal);

// The window as the run sees it: each repaint is also where a stop request is taken up.
class cInterruptibleWindow : public cWindowServices {
 public:
  explicit cInterruptibleWindow(cWindowServices& window) : m_Window(window) {}
  MsgResult MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& caption) override {
    return m_Window.MsgBox(text, buttons, icon, caption);
  }
  void SetLabel(ProgressLabel label, const std::string& text) override { m_Window.SetLabel(label, text); }
  void SetProgress(int done, int count) override { m_Window.SetProgress(done, count); }
  void DoEvents() override {
    m_Window.DoEvents();
    ThrowIfInterrupted();
  }

 private:
  cWindowServices& m_Window;
};
