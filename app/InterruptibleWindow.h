#pragma once
#include "platform/Interrupt.h"
#include "sensyu/WindowServices.h"

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
