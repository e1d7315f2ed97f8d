#pragma once
#include <memory>
#include <string>

#include "app/CommandLine.h"
#include "app/FanDownload.h"

// The program's own window: Qt on Linux, the Windows user interface on
// Windows. The build picks one (app/qt or app/win32).

/// Runs startup under the window; returns the exit status.
int RunWindowFrontEnd(const cCommandLine& cmd);
/// Shows startup's own text (the help, the version, a command-line error)
/// where no console can take it: a window program started from Explorer.
void ShowStartupText(const std::string& text, bool failure);
/// This build's downloader of the official archive, saving into the user's download folder.
std::unique_ptr<cFanDownloader> MakeDownloader();
