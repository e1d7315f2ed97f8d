#include "app/WindowFrontEnd.h"

#include "app/qt/QtFrontEnd.h"
#include "app/qt/QtHttpGet.h"
#include "platform/KnownFolders.h"

#include <iostream>

// A program started here always has its standard output and error.
void ShowStartupText(const std::string& text, bool failure) { (failure ? std::cerr : std::cout) << text; }

int RunWindowFrontEnd(const cCommandLine& cmd) { return RunQtFrontEnd(cmd); }

std::unique_ptr<cFanDownloader> MakeDownloader() {
  return std::make_unique<cHttpDownloader>(QtHttpGet, DownloadFolder(), DownloadBase());
}
