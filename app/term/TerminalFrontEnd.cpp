#include "app/term/TerminalFrontEnd.h"

#include <iostream>

#include "app/frmMain.h"
#include "app/term/cTerminalShell.h"
#include "app/term/cTerminalWindow.h"
#include "platform/Path.h"
#include "platform/Terminal.h"

namespace {

// A terminal has no window to move or show.
class cNoFormWindow : public cFormWindow {
 public:
  void ShowAtTopLeft() override {}
};

}  // namespace

int RunTerminalFrontEnd(const cCommandLine& cmd, bool displayAvailable, cFanDownloader& downloader) {
  // The width is asked at each redraw: the user may narrow the terminal during a run.
  cTerminalWindow window(std::cin, std::cout, std::cerr, StdinIsTerminal(), StdoutIsTerminal(), TerminalColumns);
  cTerminalShell shell(std::cout, displayAvailable);
  cNoFormWindow form;
  frmMain main(window, form, shell, DiskSites(), &downloader);
  const eStartOutcome outcome = main.Form_Load(cmd);
  window.EndStatus();
  if (outcome == eStartOutcome::Converted) std::cout << "Site written: " << PathToUtf8(main.RosterPage()) << "\n";
  if (outcome == eStartOutcome::Exported) std::cout << "Table written: " << PathToUtf8(main.ExportRun().Written()) << "\n";
  return ExitStatus(outcome);
}
