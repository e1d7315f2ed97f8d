#include "app/term/cTerminalShell.h"

#include <ostream>

#include "platform/OpenDocument.h"

cTerminalShell::cTerminalShell(std::ostream& out, bool launchOpener) : m_Out(out), m_LaunchOpener(launchOpener) {}

int32_t cTerminalShell::ShellOpen(const std::string& file, const std::string& /*params*/,
                                  const std::string& /*dir*/) {
  const bool page = file.ends_with(".html");  // else the data out's table
  m_Out << (m_LaunchOpener ? "Opening " : page ? "Open in a web browser: " : "Open in a spreadsheet: ") << file
        << "\n" << std::flush;
  return m_LaunchOpener && Launch(file) ? 1 : 0;
}

bool cTerminalShell::Launch(const std::string& target) { return OpenDocument(target); }
