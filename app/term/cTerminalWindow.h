#pragma once
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "sensyu/WindowServices.h"

// The window services on a terminal: message boxes are printed with their
// caption (a box that tells a failure goes to standard error), Yes/No is read
// from standard input, and the two progress labels become one status line
// with a bar. On a terminal the line is redrawn in place and kept narrower than
// the terminal (the bar shrinks or goes); into a pipe or file, and on a
// terminal too narrow for the message and the count, only the messages and
// every tenth of the count are printed, one line each.
class cTerminalWindow : public cWindowServices {
 public:
  /// interactive: standard input is a terminal (otherwise Yes/No answers No);
  /// liveStatus: standard output is a terminal (the status line is redrawn in place);
  /// columns: the terminal's width at each redraw, 0 when unknown (the line is not cut).
  cTerminalWindow(std::istream& in, std::ostream& out, std::ostream& err, bool interactive, bool liveStatus,
                  std::function<int()> columns = [] { return 0; });

  MsgResult MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& caption) override;
  void SetLabel(ProgressLabel label, const std::string& text) override;
  void SetProgress(int done, int count) override;
  void DoEvents() override;
  /// Each line on standard error: a terminal keeps them all, where a box would cut the list.
  void TellPassedOver(const std::string& summary, const std::vector<std::string>& lines) override;
  /// Ends a status line drawn in place, so the next output starts on a line of its own.
  void EndStatus();

 private:
  MsgResult AskYesNo();
  std::string CounterPart(long barCells) const;
  std::string Gap() const;
  std::string WidestCounter() const;
  bool StatusFits() const;
  long BarCells(const std::string& text) const;
  void Update(bool messageChanged);
  void UpdateLiveStatus(bool messageChanged);
  void UpdatePlainStatus(bool messageChanged);

  std::istream& m_In;
  std::ostream& m_Out;
  std::ostream& m_Err;
  bool m_Interactive;
  bool m_LiveStatus;
  std::function<int()> m_Columns;
  std::string m_Message;
  std::string m_Counter;
  long m_Done = 0, m_Count = 0;  // the count behind m_Counter; m_Count 0 when it is no count
  bool m_StatusOpen = false;  // a live status line is on screen without its line end
  bool m_Narrow = false;      // the terminal is too narrow for this message's status line
  std::string m_LastLine;     // that line
  long m_LastShown = -1;      // percent (live) or tenth (plain) of the count shown last
  long m_LastTotal = 0;       // the total of that count
};
