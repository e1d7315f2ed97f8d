#pragma once
#include "sensyu/WindowServices.h"

// Window services that show nothing; they only count the message boxes, so a
// harness can tell whether a failure reached the user.
class cSilentWindow : public cWindowServices {
 public:
  MsgResult MsgBox(const std::string&, MsgButtons buttons, MsgIcon, const std::string&) override {
    ++m_Boxes;
    return buttons == MsgButtons::OK ? MsgResult::OK : MsgResult::No;
  }
  void SetLabel(ProgressLabel, const std::string&) override {}
  void DoEvents() override {}

  /// Message boxes shown so far.
  int Boxes() const { return m_Boxes; }

 private:
  int m_Boxes = 0;
};
