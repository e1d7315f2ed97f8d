#pragma once
#include <string>
#include <vector>

// What the core asks of the window it runs under: modal message boxes, the two
// progress labels and a chance for the window to repaint. The Qt window, the
// terminal front end and the tests' recording fake each implement it.

enum class MsgButtons { OK, YesNo };
enum class MsgIcon { None, Information, Question, Exclamation };
enum class MsgResult { OK, Yes, No };
enum class ProgressLabel { Message, Counter };  // lblMessage, lblCounter

/// Caption of every message box that does not name its own.
inline constexpr const char* kAppTitle = "Harumado";

class cWindowServices {
 public:
  virtual ~cWindowServices() = default;

  /// Shows a modal box and returns the button pressed.
  virtual MsgResult MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon,
                           const std::string& caption) = 0;
  /// Sets lblMessage or lblCounter; the text shows at the next repaint.
  virtual void SetLabel(ProgressLabel label, const std::string& text) = 0;
  /// Lets pending window messages be handled so the labels repaint.
  virtual void DoEvents() = 0;
  /// Counts `done` of `count` on lblCounter as "done/count".
  virtual void SetProgress(int done, int count) {
    SetLabel(ProgressLabel::Counter, std::to_string(done) + "/" + std::to_string(count));
  }
  /// Tells what a run passed over without failing: a window in one box
  /// (`summary`), a terminal one line each (`lines`).
  virtual void TellPassedOver(const std::string& summary, const std::vector<std::string>& /*lines*/) {
    MsgBox(summary, MsgButtons::OK, MsgIcon::Information, kAppTitle);
  }
};
