#include "app/qt/QtFrontEnd.h"

#include <QApplication>

#include "app/frmMain.h"
#include "app/qt/cMainWindow.h"
#include "app/qt/cQtDownloader.h"
#include "app/qt/cQtShell.h"
#include "platform/KnownFolders.h"

int RunQtFrontEnd(const cCommandLine& cmd) {
  // Qt reads options such as -style from its arguments; the user's words are a file name.
  int argc = 1;
  char name[] = "tobirex";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  QGuiApplication::setDesktopFileName(QStringLiteral("tobirex"));
  QApplication::setWindowIcon(ProgramIcon());

  cQtShell shell;
  cMainWindow window;
  cQtDownloader downloader(DownloadFolder(), DownloadBase());
  frmMain main(window, window, shell, DiskSites(), &downloader);
  window.Attach(&main);
  const eStartOutcome outcome = main.Form_Load(cmd);
  window.close();  // the unload: releases the racer data
  window.Attach(nullptr);
  return ExitStatus(outcome);
}
