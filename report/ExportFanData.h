#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "report/PeriodHistory.h"
#include "report/TableWriter.h"
#include "sensyu/WindowServices.h"

/// The table file's bytes in `format` of every racer of the fan file (its
/// bytes; `strFileName` names it) and, newest first, of the older periods of
/// `history` (none: the file alone), each period read again whole. Nothing
/// after a failure told in a box (a file that does not load, an older file
/// changed since it was listed). Throws cTableFailure.
std::optional<std::string> ExportFanData(eTableFormat format, const std::string& strFileName, std::string_view bytes,
                                         const cPeriodHistory* history, cWindowServices& window);
