#pragma once
#include <iosfwd>
#include <string>

#include "app/mGlobal.h"

// Shell services for the terminal front end. Where a display is available the
// page goes to the desktop's opener (xdg-open); either way the user is told
// where it is, since a machine without a display has no browser to show it.
class cTerminalShell : public cLocalShellServices {
 public:
  cTerminalShell(std::string desktopPath, std::ostream& out, bool launchOpener);

  std::string GetDesktopPath() override { return m_DesktopPath; }
  int32_t ShellOpen(const std::string& file, const std::string& params, const std::string& dir) override;
  void OpenDownloadPage() override;

 private:
  bool Launch(const std::string& target);

  std::string m_DesktopPath;
  std::ostream& m_Out;
  bool m_LaunchOpener;
};
