#pragma once
#include <string>

#include "sensyu/WindowServices.h"

// Benchmarks run unattended: every box is answered OK, labels go nowhere.
class cQuietWindow : public cWindowServices {
 public:
  MsgResult MsgBox(const std::string&, MsgButtons, MsgIcon, const std::string&) override { return MsgResult::OK; }
  void SetLabel(ProgressLabel, const std::string&) override {}
  void DoEvents() override {}
};
