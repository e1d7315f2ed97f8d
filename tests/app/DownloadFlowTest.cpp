// The steps every downloader shares, over a scripted fetch: which addresses
// are asked for, what is judged a failure, what the box says, what is saved.
#include <gtest/gtest.h>

#include <map>

#include "app/FanDownload.h"
#include "support/FakeWindow.h"
#include "support/TempDir.h"
#include "support/TestData.h"

namespace fs = std::filesystem;

TEST(DownloadFlow, AsksJudgesTellsAndSaves) {
  const std::string archive = ReadBytes(DataPath("archive/lh0-level0.lzh"));  // 1290 bytes
  const std::string newest = NewestPeriodsToday()[0], older = NewestPeriodsToday()[1];
  const auto url = [](const std::string& yymm) { return "http://m/fan" + yymm + ".lzh"; };
  const auto box = [&](const std::string& yymm, const std::string& reason) {
    return "ファン手帳ファイルをダウンロードできません。\r\n" + url(yymm) + "\r\n" + reason;
  };
  const cFetchResult whole{eDownloadFailure::None, 200, "", archive, archive.size()};
  const cFetchResult missing{eDownloadFailure::None, 404, "", "", std::nullopt};
  const struct {
    std::string yymm;
    std::map<std::string, cFetchResult> answers;  // by period; a period not here is never asked for
    std::string savedAs, box;
    bool blocked = false;  // a file stands where the download folder would be made
  } rows[] = {
      {"1904", {{"1904", whole}}, "fan1904.lzh", ""},
      {"1904", {{"1904", {eDownloadFailure::None, 200, "", archive, std::nullopt}}}, "fan1904.lzh", ""},
      {"", {{newest, missing}, {older, whole}}, "fan" + older + ".lzh", ""},
      {"", {{newest, {eDownloadFailure::None, 500, "", "oops", std::nullopt}}}, "",
       box(newest, "サーバーの応答は HTTP 500 でした。")},
      {"", {{newest, missing}, {older, missing}}, "", box(older, "サーバーの応答は HTTP 404 でした。")},
      {"1904", {{"1904", {eDownloadFailure::Network, 200, "reset", archive.substr(0, 1000), archive.size()}}}, "",
       box("1904", "受け取ったデータは途中で切れています (1000 / 1290 バイト)。")},
      {"1904", {{"1904", {eDownloadFailure::Network, 200, "reset", archive, archive.size()}}}, "",
       box("1904", "通信エラーが起きました。\r\nreset")},
      {"1904", {{"1904", {eDownloadFailure::Timeout, 200, "", archive.substr(0, 9), archive.size()}}}, "",
       box("1904", "30 秒間データが届きませんでした。")},
      {"1904", {{"1904", {eDownloadFailure::None, 200, "", "<html>", std::nullopt}}}, "",
       box("1904", "受け取ったデータは LZH 書庫ではありません。")},
      {"1904", {{"1904", {eDownloadFailure::None, 200, "", archive.substr(0, 1289), std::nullopt}}}, "",
       box("1904", "受け取った LZH 書庫は途中で切れているか壊れています。")},
      {"1904", {{"1904", whole}}, "", box("1904", "ダウンロード フォルダーに保存できません。\r\n"), true},
  };
  cTempDir saved;
  saved.WriteFile("plain-file", "the download folder's place is taken");
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const auto& row = rows[i];
    std::vector<std::string> asked;
    const cFetch fetch = [&](const std::string& at) {
      asked.push_back(at);
      return row.answers.at(at.substr(12, 4));  // "http://m/fanYYMM.lzh"
    };
    cFakeWindow window;
    const fs::path folder = saved.Path() / (row.blocked ? "plain-file" : "") / std::to_string(i);
    const auto result = DownloadArchive(fetch, row.yymm, "http://m/", folder, {}, window);
    EXPECT_EQ(asked.size(), row.answers.size()) << i;
    EXPECT_EQ(window.message, "ダウンロードしています ...") << i;
    if (row.savedAs.empty()) {
      EXPECT_FALSE(result.has_value() || fs::exists(folder)) << i;
      ASSERT_EQ(window.boxes.size(), 1u) << i;
      EXPECT_EQ(window.boxes[0].caption + ": " + window.boxes[0].text.substr(0, row.box.size()), "Harumado: " + row.box)
          << i;
      EXPECT_EQ(window.boxes[0].icon, MsgIcon::Exclamation) << i;
      continue;
    }
    EXPECT_TRUE(window.boxes.empty()) << i;
    EXPECT_EQ(result, folder / row.savedAs) << i;
    EXPECT_EQ(ReadBytes(folder / row.savedAs), archive) << i;
  }
}
