#include "report/ConvertFanFile.h"

#include <limits>
#include <set>

#include "platform/ErrorText.h"
#include "platform/ParallelFor.h"
#include "platform/Path.h"
#include "report/ExtraPages.h"
#include "report/Format.h"
#include "report/RosterPage.h"
#include "sensyu/FanLines.h"
#include "sensyu/RunError.h"

namespace {

// Below this many pages per helper a run is over before a thread has started.
constexpr std::size_t kPagesPerHelper = 64;

// The per-thousand folder of a racer page, relative to the site's root.
std::filesystem::path PageFolder(int16_t number) { return PathFromUtf8(GetSensyuFolder(number, true, {})); }

// The racer numbers of the file in file order; creates each per-thousand
// folder on the way, as the racer pages will need them. A folder is made
// once per run: racer numbers of one thousand mostly come together.
cSensyuNoList CollectSensyuNo(std::string_view bytes, cSiteFolder& site) {
  cSensyuNoList list;
  std::set<int> readyFolders;
  for (std::string_view line : SplitLines(bytes)) {
    std::string key = LineKey(line);
    if (!IsNumericText(key)) continue;
    if (list.size() >= static_cast<std::size_t>(std::numeric_limits<int16_t>::max())) throw cRunError::Overflow();
    const int16_t number = TextToInt16(key);
    list.push_back(std::move(key));
    if (readyFolders.insert(number / 1000).second) site.CreateFolder(PageFolder(number));
  }
  return list;
}

std::string RelativePagePath(const std::string& no) {
  return GetSensyuFolder(TextToInt16(no), false, {}) + "\\" + no + ".html";
}

// Slots whose racer page is written: a number the loader could not match has
// no record, and a number listed twice has its one page from its first slot.
std::vector<bool> SlotsWithPage(const cSensyuFile& sensyu, int16_t count) {
  std::vector<bool> withPage(static_cast<std::size_t>(count) + 1, false);
  std::set<std::string> seen;
  for (int16_t i = 1; i <= count; ++i) {
    const std::string no = sensyu.SensyuNo(i);
    withPage[static_cast<std::size_t>(i)] = !no.empty() && seen.insert(no).second;
  }
  return withPage;
}

// What the ranking and the race card need of each racer with a page, by slot.
struct cExtraFigures {
  std::vector<cRacerFigures> ranked;
  std::vector<std::string> cardEntries;

  void Take(std::size_t slot, cRacerFigures&& racer, const cCourses& courses) {
    cardEntries[slot] = RaceCardEntry(racer, courses);
    ranked[slot] = std::move(racer);
  }

  void WritePages(const cSensyuFile& sensyu, const std::vector<bool>& withPage, cSiteFolder& site) {
    std::vector<cRacerFigures> racers;
    std::vector<std::string> entries;
    for (std::size_t slot = 1; slot < withPage.size(); ++slot) {
      if (!withPage[slot]) continue;
      racers.push_back(std::move(ranked[slot]));
      entries.push_back(std::move(cardEntries[slot]));
    }
    site.WritePage(PathFromUtf8(kRankingPageName), MakeRankingPage(sensyu, racers));
    site.WritePage(PathFromUtf8(kRaceCardPageName), MakeRaceCardPage(sensyu, entries));
  }
};

// Writes the roster page, one racer page per racer and the index page, with
// `extras` the ranking and the race card too. The roster and the name list
// are filled and sorted while the racer pages are being written; the labels
// still count the pages as they are made.
void WriteSite(const cSensyuFile& sensyu, int16_t count, cSiteFolder& site, cWindowServices& window,
               cNameList& lstName, const cPeriodHistory* history, bool extras) {
  cSearchKeys searchKeys(sensyu);
  cSearchKeys* search = extras ? &searchKeys : nullptr;
  cRosterPage roster(sensyu, count, search);
  const std::vector<bool> withPage = SlotsWithPage(sensyu, count);
  cExtraFigures extraFigures;
  if (extras) {
    extraFigures.ranked.resize(withPage.size());
    extraFigures.cardEntries.resize(withPage.size());
  }
  const auto listRacers = [&] {
    for (int16_t i = 1; i <= count; ++i) {
      const std::string no = sensyu.SensyuNo(i);
      if (no.empty()) continue;
      const std::string path = RelativePagePath(no);
      roster.AddCell(no, path);
      lstName.AddItem({sensyu.NameKana(no), no, path, sensyu.NameKanji(no)});
    }
    lstName.Sort();
  };
  const auto makePage = [&](std::size_t n) {
    const auto i = static_cast<int16_t>(n + 1);
    if (!withPage[n + 1]) return;
    const std::string no = sensyu.SensyuNo(i);
    cRacerFigures racer = RacerFiguresOf(sensyu, no);
    const cCourses courses = CoursesOf(sensyu, no);
    site.WritePage(PageFolder(TextToInt16(no)) / PathFromUtf8(no + ".html"),
                   MakeSensyuPage(sensyu, racer, courses, history, extras));
    if (extras) extraFigures.Take(n + 1, std::move(racer), courses);
  };
  const auto reached = [&](std::size_t i) {
    window.SetProgress(static_cast<int>(i), count);
    window.DoEvents();
  };
  const auto pages = static_cast<std::size_t>(count);
  ParallelFor(pages, HelpersFor(pages, kPagesPerHelper), makePage, reached, listRacers);
  site.WritePage(PathFromUtf8("ファン手帳.html"), roster.Finish());
  const auto writeIndex = [&] {
    const auto entries = static_cast<int16_t>(lstName.ListCount());
    site.WritePage(PathFromUtf8("索引.html"), MakeIndexPage(entries, lstName, window, search));
  };
  if (!extras) {
    writeIndex();
    return;
  }
  // The ranking and the race card are made on a helper while this thread,
  // which talks to the window, makes the index.
  const auto writeExtraPages = [&](std::size_t) { extraFigures.WritePages(sensyu, withPage, site); };
  ParallelFor(1, HelpersFor(2, 1), writeExtraPages, {}, writeIndex);
}

void ShowFailure(cWindowServices& window, const std::string& what, const std::string& file, const std::string& reason,
                 int number) {
  window.MsgBox(WithErrorCode(what + "\r\n" + file + "\r\n" + reason, number), MsgButtons::OK,
                MsgIcon::Exclamation, kAppTitle);
}

}  // namespace

bool ConvertFanFile(const std::string& strFileName, std::string_view bytes, cSiteFolder& site,
                    cWindowServices& window, cNameList& lstName, std::shared_ptr<cSensyuFile>& m_SensyuFile,
                    const cPeriodHistory* history, bool extras) {
  window.SetLabel(ProgressLabel::Message, "ファイルを変換しています ...");
  window.DoEvents();
  cSensyuNoList list;
  try {
    lstName.Clear();
    list = CollectSensyuNo(bytes, site);
  } catch (const cFileFailure& e) {
    ShowFailure(window, "フォルダを作成できません。", PathToUtf8(e.File()), ErrorText(e.Errno()), e.Errno());
    return false;
  } catch (const cRunError& e) {
    // More racer lines than a 16-bit count holds: told as the loader tells it.
    window.MsgBox(WithErrorCode(e.what(), e.Number()), MsgButtons::OK, MsgIcon::Exclamation,
                  "選手ファイル読み取りエラー");
    return false;
  }
  const auto count = static_cast<int16_t>(list.size());
  if (list.empty()) list.push_back("");  // the loader then matches nothing

  auto sensyu = std::make_shared<cSensyuFile>(window);
  m_SensyuFile = sensyu;
  if (!sensyu->LoadBytes(bytes, list, 0)) return false;
  try {
    WriteSite(*sensyu, count, site, window, lstName, history, extras);
  } catch (const cFileFailure& e) {
    ShowFailure(window, "ファイルを書き込めません。", PathToUtf8(e.File()), ErrorText(e.Errno()), e.Errno());
    return false;
  } catch (const cRunError& e) {
    ShowFailure(window, "ページを作成できません。", strFileName, e.what(), e.Number());
    return false;
  }
  return true;
}
