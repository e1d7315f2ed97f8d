#include "app/term/cTerminalShell.h"

#include <ostream>

#include "app/term/OpenWithDesktop.h"

cTerminalShell::cTerminalShell(std::string desktopPath, std::ostream& out, bool launchOpener)
    : m_DesktopPath(std::move(desktopPath)), m_Out(out), m_LaunchOpener(launchOpener) {}

int32_t cTerminalShell::ShellOpen(const std::string& file, const std::string& /*params*/,
                                  const std::string& /*dir*/) {
  m_Out << (m_LaunchOpener ? "Opening " : "Open in a web browser: ") << file << "\n" << std::flush;
  return m_LaunchOpener && Launch(file) ? 1 : 0;
}

void cTerminalShell::OpenDownloadPage() {
  m_Out << (m_LaunchOpener ? "Opening " : "Download page: ") << kDownloadPage << "\n" << std::flush;
  if (m_LaunchOpener) Launch(kDownloadPage);
}

bool cTerminalShell::Launch(const std::string& target) { return OpenWithDesktop(target); }
