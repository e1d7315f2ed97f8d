// A racer's record across periods: the older fan files under
// tests/data/history/ read beside fan2510.txt, and the racer pages written
// with them, compared with tests/golden/history/.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Path.h"
#include "report/ConvertFanFile.h"
#include "report/Format.h"
#include "support/FakeWindow.h"
#include "support/MemorySite.h"
#include "support/TestData.h"

namespace fs = std::filesystem;

namespace {

const fs::path kNewest = DataPath("history/fan2510.txt");

cPeriodHistory LoadHistory() {
  cFakeWindow window;
  const cHistoryFiles candidates = ListHistoryFiles(SystemFileSystem(), DataPath("history"), kNewest);
  cPeriodHistory history =
      LoadPeriodHistory(candidates.files, FanFilePeriod(ReadBytes(kNewest)), window, candidates.passedOver);
  EXPECT_TRUE(window.boxes.empty());
  return history;
}

struct cRun {
  cFakeWindow window;
  cMemorySite site;
  cNameList lstName;
  std::shared_ptr<cSensyuFile> sensyu;
  cRun(const std::string& bytes, const cPeriodHistory* history) {
    ConvertFanFile("fan.txt", bytes, site, window, lstName, sensyu, history);
  }
};

std::map<std::string, std::string> ConvertNewest(const cPeriodHistory* history) {
  cRun run(ReadBytes(kNewest), history);
  EXPECT_TRUE(run.window.boxes.empty());
  return run.site.pages;
}

// The period the conversion shows, also when the last record is cut before it.
TEST(PeriodHistory, ReadsThePeriodAsTheConversionDoes) {
  const std::string seven = ReadBytes(DataPath("seven_racers.txt"));
  for (const std::string& bytes :
       {seven, seven + "4322" + ReadBytes(DataPath("cut_record.txt")).substr(4), ReadBytes(DataPath("malformed.txt")),
        ReadBytes(DataPath("history/noperiod.txt")), std::string()}) {
    const cRun run(bytes, nullptr);
    const cFanPeriod period = FanFilePeriod(bytes);
    EXPECT_EQ(std::pair(period.nen, period.ki), std::pair(run.sensyu->Nen(), run.sensyu->Ki())) << bytes.size();
  }
}

TEST(PeriodHistory, TakesTheOlderPeriodsAndTellsEveryFileItSkips) {
  static const char* const kWhy[] = {"NotFanFile", "Unreadable",      "DamagedArchive", "LoadFailed",   "NoPeriod",
                                     "NotOlder",   "DuplicatePeriod", "Folder",         "LinkToNothing", "NotAFile"};
  const cPeriodHistory history = LoadHistory();
  std::string dump;
  for (const cHistoryPeriod& p : history.Periods())
    dump += "period " + p.label + " " + PathToUtf8(p.file.filename()) + "\n";
  for (const cSkippedFile& s : history.Skipped()) dump += kWhy[static_cast<int>(s.why)] + (" " + SkippedLine(s)) + "\n";
  dump += "told " + SkippedSummary(history.Skipped()) + "\n";
  for (const char* no : {"3999", "4321", "4400", "4999", "0123", "9999"}) {
    for (const cPeriodRow& row : history.Rows(no)) {
      const cPeriodFigures& f = row.figures;
      dump += std::string(no) + " " + history.Periods()[row.period].label + " " + f.classText + " " +
              Format00(f.syoritu) + " " + Format00(f.fSyoritu) + " " + Format00(f.startTiming);
      for (int n : {f.syussoTimes, f.oneFinishTimes, f.twoFinishTimes, f.yusyutuTimes, f.yusyoTimes, f.ability}) {
        dump += " " + std::to_string(n);
      }
      dump += "\n";
    }
  }
  ExpectMatchesFile(dump, "history.dump");
  EXPECT_NE(ListHistoryFiles(SystemFileSystem(), DataPath("history/none"), {}).errorNumber, 0);
}

// The golden pages byte for byte, and the chart's lines of every racer; every
// other page as without a history, the racer pages but for the section
// before their back button.
TEST(PeriodHistory, AddsTheSectionToEveryRacerPageAndNothingElse) {
  const cPeriodHistory history = LoadHistory();
  const auto pages = ConvertNewest(&history);
  const fs::path golden = fs::path(TEST_GOLDEN_DIR) / "history";
  for (const auto& entry : fs::recursive_directory_iterator(golden)) {
    if (!entry.is_regular_file()) continue;
    const std::string page = PathToWebUtf8(fs::relative(entry.path(), golden));
    ExpectMatchesFile(pages.at(page), "../golden/history/" + page);
  }
  for (const auto& row : ReadRows("history_chart.txt")) {
    const std::string& page = pages.at(row[0]);
    const std::string line = "<polyline class=\"" + row[1] + "\" points=\"";
    const std::size_t at = page.find(line) == std::string::npos ? page.size() : page.find(line) + line.size();
    std::string points = row[2];
    std::ranges::replace(points, '_', ' ');
    EXPECT_EQ(page.substr(at, page.find('"', at) - at), points) << row[0] << " " << row[1];
  }
  const auto plain = ConvertNewest(nullptr);
  ASSERT_EQ(pages.size(), plain.size());
  for (const auto& [page, bytes] : plain) {
    const std::string& with = pages.at(page);
    const std::size_t tail = std::min(bytes.find("<form>"), bytes.size());
    EXPECT_TRUE(with.starts_with(bytes.substr(0, tail)) && with.ends_with(bytes.substr(tail))) << page;
    EXPECT_EQ(with.size() > bytes.size() + 2000, tail < bytes.size()) << page;
  }
}

}  // namespace
