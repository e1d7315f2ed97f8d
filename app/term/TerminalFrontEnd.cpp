#include "app/term/TerminalFrontEnd.h"

#include <unistd.h>

#include <iostream>

#include "app/ReportConversion.h"
#include "app/frmMain.h"
#include "app/term/cTerminalShell.h"
#include "app/term/cTerminalWindow.h"

namespace {

// A terminal has no window to move or show.
class cNoFormWindow : public cFormWindow {
 public:
  void ShowAtTopLeft() override {}
};

}  // namespace

int RunTerminalFrontEnd(const cCommandLine& cmd, const std::string& desktopPath, bool displayAvailable) {
  cTerminalWindow window(std::cin, std::cout, isatty(STDIN_FILENO) == 1, isatty(STDOUT_FILENO) == 1);
  cTerminalShell shell(desktopPath, std::cout, displayAvailable);
  cNoFormWindow form;
  cReportConversion conversion;
  frmMain main(window, form, shell, conversion);
  const eStartOutcome outcome = main.Form_Load(cmd);
  window.EndStatus();
  if (outcome == eStartOutcome::Converted) std::cout << "Site written: " << main.RosterPage().string() << "\n";
  main.Form_QueryUnload();
  return ExitStatus(outcome);
}
