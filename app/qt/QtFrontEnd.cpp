#include "app/qt/QtFrontEnd.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/frmMain.h"
#include "app/qt/cMainWindow.h"
#include "app/qt/QtHttpGet.h"
#include "app/qt/cQtShell.h"
#include "platform/KnownFolders.h"

QTranslator* InstallQtTranslation(const QLocale& locale) {
  auto* translator = new QTranslator(QCoreApplication::instance());
  // Debian's qt6-translations-l10n puts qtbase_ja.qm and the others here.
  if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
      QCoreApplication::installTranslator(translator))
    return translator;
  delete translator;
  return nullptr;
}

int RunQtFrontEnd(const cCommandLine& cmd) {
  // Qt reads options such as -style from its arguments; the user's words are a file name.
  int argc = 1;
  char name[] = "tobirex";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  QGuiApplication::setDesktopFileName(QStringLiteral("tobirex"));
  QApplication::setWindowIcon(ProgramIcon());
  InstallQtTranslation(QLocale());  // the user's locale, from LC_ALL, LC_MESSAGES or LANG

  cQtShell shell;
  cMainWindow window;
  cHttpDownloader downloader(QtHttpGet, DownloadFolder(), DownloadBase());
  frmMain main(window, window, shell, DiskSites(), &downloader);
  window.Attach(&main);
  const eStartOutcome outcome = main.Form_Load(cmd);
  window.close();  // the unload: releases the racer data
  window.Attach(nullptr);
  return ExitStatus(outcome);
}
