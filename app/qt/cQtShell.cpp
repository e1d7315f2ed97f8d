#include "app/qt/cQtShell.h"

#include <QDesktopServices>
#include <QUrl>

int32_t cQtShell::ShellOpen(const std::string& file, const std::string& /*params*/, const std::string& /*dir*/) {
  // The default browser resolves the page's relative links from the page itself.
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file))) ? 1 : 0;
}
