#pragma once
#include <deque>
#include <string>
#include <vector>

#include "sensyu/WindowServices.h"

// Records every message box and the labels' last texts; answers boxes from a
// script (OK / Yes when the script is empty).
class cFakeWindow : public cWindowServices {
 public:
  struct Box {
    std::string text;
    MsgButtons buttons;
    MsgIcon icon;
    std::string caption;
  };

  MsgResult MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon,
                   const std::string& caption) override {
    boxes.push_back({text, buttons, icon, caption});
    if (!answers.empty()) {
      MsgResult r = answers.front();
      answers.pop_front();
      return r;
    }
    return buttons == MsgButtons::OK ? MsgResult::OK : MsgResult::Yes;
  }
  void SetLabel(ProgressLabel label, const std::string& text) override {
    (label == ProgressLabel::Message ? message : counter) = text;
  }
  void DoEvents() override {}

  std::vector<Box> boxes;
  std::deque<MsgResult> answers;
  std::string message, counter;
};
