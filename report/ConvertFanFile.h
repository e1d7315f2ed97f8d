#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "report/CourseFigures.h"
#include "report/NameList.h"
#include "report/PeriodHistory.h"
#include "report/RacerFigures.h"
#include "platform/SiteFolder.h"
#include "sensyu/WindowServices.h"
#include "sensyu/cSensyuFile.h"

class cSearchKeys;

/// The conversion run: writes the whole site from the fan file's bytes into
/// `site`. True when every page was written; false after a failure that was
/// shown to the user (load error, unwritable page or folder); `strFileName`
/// names the input in those messages. m_SensyuFile receives the run's racer
/// data and stays set afterwards. With a history every racer page ends with
/// its "期別成績" section; without one the pages are as they always were.
/// `extras` adds the fan's tools: search, rankings, course charts, race card.
bool ConvertFanFile(const std::string& strFileName, std::string_view bytes, cSiteFolder& site,
                    cWindowServices& window, cNameList& lstName, std::shared_ptr<cSensyuFile>& m_SensyuFile,
                    const cPeriodHistory* history = nullptr, bool extras = false);

/// The page of the racer with the period figures `racer` and `courses`, in
/// code page 932, with the racer's periods when a history is given and the
/// course chart with `extras`; safe to call from several threads at once.
std::string MakeSensyuPage(const cSensyuFile& sensyu, const cRacerFigures& racer, const cCourses& courses,
                           const cPeriodHistory* history, bool extras);
/// 索引.html in code page 932 from the first `count` entries of the name list,
/// counting them on the window's labels; with `search` (the run's search
/// keys) the links to the extra pages and the search box too.
std::string MakeIndexPage(int16_t count, const cNameList& lstName, cWindowServices& window, cSearchKeys* search);
