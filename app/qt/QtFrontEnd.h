#pragma once
#include <string>

#include "app/CommandLine.h"

/// Runs startup under the Qt window; returns the exit status.
int RunQtFrontEnd(const cCommandLine& cmd);
/// The user's desktop folder as the platform names it (XDG user dirs on Linux);
/// needs no running application.
std::string QtDesktopPath();
