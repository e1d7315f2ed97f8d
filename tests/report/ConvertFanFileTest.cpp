#include <gtest/gtest.h>

#include <cstdio>

#include "report/ConvertFanFile.h"
#include "support/FakeWindow.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

std::string Racers(int count, int first = 4001) {
  std::vector<std::string> records;
  for (int i = 0; i < count; ++i) {
    char no[8];
    std::snprintf(no, sizeof no, "%04d", first + i);
    RecordBuilder r;
    r.SensyuNo(no).NameKanji("選手").NameKana("ｾﾝｼｭ").Class("B1").Nen(2025).Ki(1);
    records.push_back(r.Bytes());
  }
  return FanFile(records);
}

struct cRun {
  cFakeWindow window;
  cNameList lstName;
  std::shared_ptr<cSensyuFile> sensyu;
  bool ok = false;
  void Convert(const fs::path& input, const fs::path& site) {
    ok = ConvertFanFile(input.string(), site, window, lstName, sensyu);
  }
};

TEST(ConvertFanFile, ReportsProgressThroughTheLabels) {
  cTempDir tmp;
  cRun run;
  run.Convert(tmp.WriteFile("fan.txt", Racers(3)), tmp.Path() / "site");
  ASSERT_TRUE(run.ok);
  const std::vector<std::string> expected = {
      "M:ファイルを変換しています ...", "C:1/3", "C:2/3", "C:3/3", "C:", "M:索引ページを作成しています ...",
      "C:1/3", "C:2/3", "C:3/3"};
  EXPECT_EQ(run.window.labelLog, expected);
  EXPECT_GE(run.window.doEvents, 7);
  ASSERT_TRUE(run.sensyu);
  EXPECT_EQ(run.sensyu->SensyuNo(3), "4003");
  EXPECT_EQ(run.lstName.ListCount(), 3);
}

TEST(ConvertFanFile, RebuildsOverAnExistingSiteAndKeepsNameListPerRun) {
  cTempDir tmp;
  const auto site = tmp.Path() / "site";
  cRun run;
  run.Convert(tmp.WriteFile("a.txt", Racers(5)), site);
  run.Convert(tmp.WriteFile("b.txt", Racers(2, 5001)), site);
  ASSERT_TRUE(run.ok);
  EXPECT_EQ(run.lstName.ListCount(), 2);
  EXPECT_TRUE(fs::exists(site / "5000" / "5002.html"));
}

TEST(ConvertFanFile, UnreadableInputIsToldAndFails) {
  cTempDir tmp;
  const auto input = tmp.Path() / "fan.txt";  // a folder: opens, but every read fails
  fs::create_directory(input);
  cRun run;
  run.Convert(input, tmp.Path() / "site");
  EXPECT_FALSE(run.ok);
  ASSERT_EQ(run.window.boxes.size(), 1u);
  EXPECT_EQ(run.window.boxes[0].caption, "Harumado");
  EXPECT_NE(run.window.boxes[0].text.find(input.string()), std::string::npos);
  EXPECT_FALSE(fs::exists(tmp.Path() / "site" / "ファン手帳.html"));
}

TEST(ConvertFanFile, FolderInTheWayIsToldWithItsPathAndFails) {
  cTempDir tmp;
  const auto site = tmp.Path() / "site";
  fs::create_directory(site);
  tmp.WriteFile("site/4000", "a file where the per-thousand folder belongs");
  cRun run;
  run.Convert(tmp.WriteFile("fan.txt", Racers(2)), site);
  EXPECT_FALSE(run.ok);
  ASSERT_EQ(run.window.boxes.size(), 1u);
  const auto& box = run.window.boxes[0];
  EXPECT_EQ(box.caption, "Harumado");
  EXPECT_EQ(box.icon, MsgIcon::Exclamation);
  EXPECT_NE(box.text.find((site / "4000").string()), std::string::npos) << box.text;
  EXPECT_NE(box.text.find("(Error code:"), std::string::npos);
  EXPECT_FALSE(fs::exists(site / "ファン手帳.html"));
}

TEST(ConvertFanFile, UnwritablePageStopsTheRun) {
  cTempDir tmp;
  const auto site = tmp.Path() / "site";
  fs::create_directories(site / "4000" / "4002.html");  // a folder where the page goes
  cRun run;
  run.Convert(tmp.WriteFile("fan.txt", Racers(3)), site);
  EXPECT_FALSE(run.ok);
  ASSERT_EQ(run.window.boxes.size(), 1u);
  EXPECT_NE(run.window.boxes[0].text.find("4002.html"), std::string::npos);
  EXPECT_FALSE(fs::exists(site / "4000" / "4003.html"));
  EXPECT_FALSE(fs::exists(site / "索引.html"));
}

TEST(ConvertFanFile, TooManyRacersFailWithTheOverflowMessage) {
  cTempDir tmp;
  RecordBuilder r;
  const std::string line = r.SensyuNo("4001").Bytes() + "\r\n";
  std::string file;
  for (int i = 0; i < 32767; ++i) file += line;
  cRun run;
  run.Convert(tmp.WriteFile("fan.txt", file), tmp.Path() / "site");
  EXPECT_FALSE(run.ok);
  ASSERT_EQ(run.window.boxes.size(), 1u);
  EXPECT_EQ(run.window.boxes[0].text, "オーバーフローしました。\r\n(Error code:6)");
  EXPECT_EQ(run.window.boxes[0].caption, "選手ファイル読み取りエラー");
  EXPECT_FALSE(fs::exists(tmp.Path() / "site" / "ファン手帳.html"));
}

TEST(ConvertFanFile, PreparesFoldersForEveryThousand) {
  cTempDir tmp;
  const auto site = tmp.Path() / "サイト";  // a non-ASCII output path
  cRun run;
  std::string file = Racers(1, 12) + Racers(1, 999) + Racers(1, 1000) + Racers(1, 4999) + Racers(1, 5000);
  run.Convert(tmp.WriteFile("ファン.txt", file), site);
  ASSERT_TRUE(run.ok);
  for (const char* page : {"0000/0012.html", "0000/0999.html", "1000/1000.html", "4000/4999.html", "5000/5000.html"})
    EXPECT_TRUE(fs::is_regular_file(site / page)) << page;
}

}  // namespace
