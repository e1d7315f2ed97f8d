#pragma once

/// True when standard input is a terminal someone can answer at.
bool StdinIsTerminal();
/// True when standard output is a terminal, where a status line can be redrawn in place.
bool StdoutIsTerminal();
