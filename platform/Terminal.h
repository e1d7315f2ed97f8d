#pragma once

/// True when standard input is a terminal someone can answer at.
bool StdinIsTerminal();
/// True when standard output is a terminal, where a status line can be redrawn in place.
bool StdoutIsTerminal();
/// Columns of the terminal on standard output, or 0 when it cannot be told.
int TerminalColumns();
