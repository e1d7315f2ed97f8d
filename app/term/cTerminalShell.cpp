#include "app/term/cTerminalShell.h"

#include <ostream>

#include "platform/OpenDocument.h"

cTerminalShell::cTerminalShell(std::ostream& out, bool launchOpener) : m_Out(out), m_LaunchOpener(launchOpener) {}

int32_t cTerminalShell::ShellOpen(const std::string& file, const std::string& /*params*/,
                                  const std::string& /*dir*/) {
  m_Out << (m_LaunchOpener ? "Opening " : "Open in a web browser: ") << file << "\n" << std::flush;
  return m_LaunchOpener && Launch(file) ? 1 : 0;
}

bool cTerminalShell::Launch(const std::string& target) { return OpenDocument(target); }
