#pragma once
#include <string>

#include "app/CommandLine.h"

/// Runs startup under the Qt window; returns the exit status.
int RunQtFrontEnd(const cCommandLine& cmd);