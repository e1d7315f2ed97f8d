#include "platform/Terminal.h"

#include <windows.h>

#include <cstdio>
#include <iostream>

namespace {

bool HasHandle(DWORD which) {
  const HANDLE h = ::GetStdHandle(which);
  return h != nullptr && h != INVALID_HANDLE_VALUE;
}

bool IsConsole(DWORD which) {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(which), &mode) != 0;
}

// The program's text is UTF-8; the console shows it so while the program runs
// and gets its own code pages back afterwards, for the shell that started it.
class cUtf8Console {
 public:
  cUtf8Console() { Take(); }
  ~cUtf8Console() { Restore(); }
  cUtf8Console(const cUtf8Console&) = delete;
  cUtf8Console& operator=(const cUtf8Console&) = delete;
  /// Switches the console this program has now, unless one is switched already.
  void Take() {
    if (m_Output != 0 || m_Input != 0) return;
    m_Output = ::GetConsoleOutputCP();
    m_Input = ::GetConsoleCP();
    if (m_Output != 0) ::SetConsoleOutputCP(CP_UTF8);
    if (m_Input != 0) ::SetConsoleCP(CP_UTF8);
  }
  void Restore() {
    if (m_Output != 0) ::SetConsoleOutputCP(m_Output);
    if (m_Input != 0) ::SetConsoleCP(m_Input);
    m_Output = m_Input = 0;
  }

 private:
  UINT m_Output = 0, m_Input = 0;
};

cUtf8Console& Utf8Console() {
  static cUtf8Console console;
  return console;
}
const bool kUtf8Console = (Utf8Console(), true);

}  // namespace

bool StdinIsTerminal() { return IsConsole(STD_INPUT_HANDLE); }

bool StdoutIsTerminal() { return IsConsole(STD_OUTPUT_HANDLE); }

int TerminalColumns() {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!::GetConsoleScreenBufferInfo(::GetStdHandle(STD_OUTPUT_HANDLE), &info)) return 0;
  return info.srWindow.Right - info.srWindow.Left + 1;
}

bool WindowsNeedDisplayServer() { return false; }

bool RunsInCallersConsole() {
  DWORD processes[2];
  const DWORD sharing = ::GetConsoleProcessList(processes, 2);
  if (sharing >= 2) return true;
  // No console, or one Windows made for this program alone: the window takes over.
  if (sharing == 1) {
    Utf8Console().Restore();
    ::FreeConsole();
  }
  return false;
}

// A window program (tobirex.exe) gets no console; started from a prompt with
// --no-gui it prints there, though the prompt does not wait for it.
bool ReachCallersConsole() {
  if (HasHandle(STD_OUTPUT_HANDLE) || HasHandle(STD_ERROR_HANDLE)) return true;
  if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return false;
  FILE* stream = nullptr;
  ::freopen_s(&stream, "CONOUT$", "w", stdout);
  ::freopen_s(&stream, "CONOUT$", "w", stderr);
  ::freopen_s(&stream, "CONIN$", "r", stdin);
  std::cout.clear();
  std::cerr.clear();
  std::cin.clear();
  Utf8Console().Take();
  return true;
}
