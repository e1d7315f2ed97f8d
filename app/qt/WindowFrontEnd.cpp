#include "app/WindowFrontEnd.h"

#include "app/qt/QtFrontEnd.h"
#include "app/qt/cQtDownloader.h"
#include "platform/KnownFolders.h"

int RunWindowFrontEnd(const cCommandLine& cmd) { return RunQtFrontEnd(cmd); }

std::unique_ptr<cFanDownloader> MakeDownloader() {
  return std::make_unique<cQtDownloader>(DownloadFolder(), DownloadBase());
}
