#pragma once
#include <string>

#include "app/CommandLine.h"

class QLocale;
class QTranslator;

/// Runs startup under the Qt window; returns the exit status.
int RunQtFrontEnd(const cCommandLine& cmd);

/// Installs Qt's own catalogue for `locale` (the texts of the standard buttons:
/// はい/いいえ/OK on a Japanese desktop) into the running application, which owns it.
/// Returns it, or nullptr when the system holds none for that language.
QTranslator* InstallQtTranslation(const QLocale& locale);
