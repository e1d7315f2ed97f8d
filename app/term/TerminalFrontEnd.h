#pragma once
#include <string>

#include "app/CommandLine.h"
#include "app/FanDownload.h"

/// Runs startup on the terminal (standard input and output); returns the exit status.
/// displayAvailable: pages may be handed to the desktop's opener.
/// downloader: fetches the official archive for --download.
int RunTerminalFrontEnd(const cCommandLine& cmd, bool displayAvailable, cFanDownloader& downloader);
