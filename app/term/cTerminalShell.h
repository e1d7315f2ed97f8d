#pragma once
#include <iosfwd>
#include <string>

#include "app/mGlobal.h"

// Shell services for the terminal front end. Where a display is available the
// page goes to the desktop's opener (xdg-open); either way the user is told
// where it is, since a machine without a display has no browser to show it.
class cTerminalShell : public cLocalShellServices {
 public:
  cTerminalShell(std::ostream& out, bool launchOpener);

  int32_t ShellOpen(const std::string& file, const std::string& params, const std::string& dir) override;

 private:
  bool Launch(const std::string& target);

  std::ostream& m_Out;
  bool m_LaunchOpener;
};
