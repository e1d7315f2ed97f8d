#pragma once
#include <functional>
#include <memory>
#include <string>

// The system's own window, where the program has no toolkit of its own (the
// Windows build): a thin strip with two labels, and modal message boxes.

enum class eBoxButtons { OK, YesNo };
enum class eBoxIcon { None, Information, Question, Exclamation };

class cNativeWindow {
 public:
  virtual ~cNativeWindow() = default;
  /// Sets label 0 (the message) or 1 (the counter).
  virtual void SetLabel(int label, const std::string& text) = 0;
  /// Shows a modal box over the window when it is shown; true for OK or Yes.
  virtual bool Box(const std::string& text, const std::string& caption, eBoxButtons buttons, eBoxIcon icon) = 0;
  /// Handles the window messages that are waiting, then returns.
  virtual void PumpMessages() = 0;
  /// Moves the window to the screen's top-left corner and shows it.
  virtual void ShowAtTopLeft() = 0;
  /// Hides the window for good.
  virtual void Hide() = 0;
};

struct cNativeWindowLayout {
  std::string caption;
  int width = 0, height = 0;         // client area, in twips
  int labels[2][4] = {};             // left, top, width, height of each label, in twips
  std::string font;                  // the labels' font, at 12 points
};

/// A modal box with no window under it; true for OK or Yes.
bool ShowNativeBox(const std::string& text, const std::string& caption, eBoxButtons buttons, eBoxIcon icon);
/// The window, not yet shown. `mayClose` is asked when the user closes it;
/// false keeps it open.
std::unique_ptr<cNativeWindow> MakeNativeWindow(const cNativeWindowLayout& layout, std::function<bool()> mayClose);
