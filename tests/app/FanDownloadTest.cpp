// The period and file-name choices, and real downloads from a python3 HTTP
// server on 127.0.0.1, with no Qt application running beforehand.
#include "app/qt/cQtDownloader.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdio>
#include <fstream>

#include "support/FakeWindow.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

TEST(FanDownload, NewestPeriodsByDate) {
  const struct { int year, month; std::vector<std::string> periods; } rows[] = {
      {2026, 1, {"2510", "2504"}},  {2026, 4, {"2510", "2504"}},  {2026, 5, {"2604", "2510"}},
      {2026, 10, {"2604", "2510"}}, {2026, 11, {"2610", "2604"}}, {2000, 12, {"0010", "0004"}},
      {2000, 3, {"9910", "9904"}}};
  for (const auto& row : rows) EXPECT_EQ(NewestPeriods(row.year, row.month), row.periods) << row.month;
  for (const char* good : {"2510", "0004"}) EXPECT_TRUE(IsValidPeriod(good)) << good;
  for (const char* bad : {"", "251", "25100", "2505", "2a10", "-510"}) EXPECT_FALSE(IsValidPeriod(bad)) << bad;
}

TEST(FanDownload, KeepsBothFilesLikeABrowser) {
  cTempDir dir;
  const fs::path old = dir.WriteFile("fan2510.lzh", "old");
  std::error_code ec;
  EXPECT_EQ(SaveArchive(dir.Path(), "fan2510.lzh", "new", ec), dir.Path() / "fan2510 (1).lzh");
  EXPECT_EQ(SaveArchive(dir.Path(), "fan2510.lzh", "new", ec), dir.Path() / "fan2510 (1).lzh");
  EXPECT_EQ(SaveArchive(dir.Path(), "fan2510.lzh", "newer", ec), dir.Path() / "fan2510 (2).lzh");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 3);  // no temp left
  EXPECT_EQ(fs::file_size(old), 3u);
}

// Serves a folder until destroyed; python picks the port and names it.
struct cLocalServer {
  explicit cLocalServer(const fs::path& dir)
      : m_Pipe(popen(("cd '" + dir.string() + "' && echo $$ && exec python3 -u -m http.server --bind 127.0.0.1 0"
                      " 2>/dev/null").c_str(), "r")) {
    EXPECT_EQ(std::fscanf(m_Pipe, "%d Serving HTTP on 127.0.0.1 port %d", &m_Pid, &m_Port), 2);
  }
  ~cLocalServer() { kill(m_Pid, SIGTERM), pclose(m_Pipe); }
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(m_Port); }
  FILE* m_Pipe;  // the server's standard output; closing it waits for the server to end
  int m_Pid = 0, m_Port = 0;
};

TEST(FanDownload, FromLocalServer) {
  cTempDir served, saved;
  const std::string archive = std::string("\x1a\x00-lh0-\x05payload", 15) + std::string(3000, 'p');
  const std::string older = NewestPeriodsToday()[1];
  for (const std::string& name : {std::string("fan1904.lzh"), "fan" + older + ".lzh"}) served.WriteFile(name, archive);
  served.WriteFile("fan1804.lzh", "<html>not an archive</html>");
  const cLocalServer server(served.Path());
  const std::string down = cLocalServer(served.Path()).Base();  // stopped again: nothing listens there
  const std::string lead = "ファン手帳ファイルをダウンロードできません。\r\n";
  const struct { std::string base, yymm, savedAs, box; } rows[] = {
      {server.Base(), "1904", "fan1904.lzh", ""},
      {server.Base(), "", "fan" + older + ".lzh", ""},
      {server.Base(), "1910", "", lead + server.Base() + "/fan1910.lzh\r\nサーバーの応答は HTTP 404 でした。"},
      {server.Base(), "1804", "", lead + server.Base() + "/fan1804.lzh\r\n受け取ったデータは LZH 書庫ではありません。"},
      {down, "1904", "", lead + down + "/fan1904.lzh\r\nサーバーに接続できません。\r\n"},
      {server.Base(), "1904", "", lead + server.Base() + "/fan1904.lzh\r\nダウンロード フォルダーに保存できません。"}};
  saved.WriteFile("plain-file", "the download folder's place is taken");
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    cFakeWindow window;
    const fs::path folder = saved.Path() / (i == 5 ? "plain-file" : "") / std::to_string(i);
    const auto result = cQtDownloader(folder, rows[i].base).Download(rows[i].yymm, window);
    if (rows[i].savedAs.empty()) {
      EXPECT_FALSE(result.has_value() || fs::exists(folder)) << i;
      ASSERT_EQ(window.boxes.size(), 1u) << i;
      const cFakeWindow::Box& box = window.boxes[0];
      EXPECT_EQ(box.caption + ": " + box.text.substr(0, rows[i].box.size()), "Harumado: " + rows[i].box);
    } else {
      EXPECT_EQ(result, folder / rows[i].savedAs);
      std::ifstream in(folder / rows[i].savedAs, std::ios::binary);
      EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), archive);
      EXPECT_TRUE(window.boxes.empty() && window.message == "ダウンロードしています ..." && window.counter == "2 KB");
    }
  }
}
