#pragma once

/// True when standard input is a terminal someone can answer at.
bool StdinIsTerminal();
/// True when standard output is a terminal, where a status line can be redrawn in place.
bool StdoutIsTerminal();
/// Columns of the terminal on standard output, or 0 when it cannot be told.
int TerminalColumns();
/// True where a window needs a display server that may be missing (X11 or
/// Wayland), false where a window can always be shown.
bool WindowsNeedDisplayServer();
/// True when the program shares the console of the shell that started it.
/// A console made for the program alone (Windows, started from Explorer or by
/// a drop) is closed here, so that only the window shows. False on POSIX.
bool RunsInCallersConsole();
/// True when text written to standard output and error reaches someone: a
/// terminal, a pipe or a file, or the console of the prompt that started a
/// window program (Windows), which is then attached. False when there is none.
bool ReachCallersConsole();
