// The period and file-name choices, the redirect rule, and real downloads
// from tests/support/download_server.py on 127.0.0.1, with no Qt application
// running beforehand.
#include "app/qt/cQtDownloader.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <thread>

#include "platform/Interrupt.h"
#include "platform/Path.h"
#include "support/FakeWindow.h"
#include "support/LocalServer.h"
#include "support/TempDir.h"
#include "support/TestData.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(FanDownload, NewestPeriodsByDate) {
  const struct { int year, month; std::vector<std::string> periods; } rows[] = {
      {2026, 1, {"2510", "2504"}},  {2026, 4, {"2510", "2504"}},  {2026, 5, {"2604", "2510"}},
      {2026, 10, {"2604", "2510"}}, {2026, 11, {"2610", "2604"}}, {2000, 12, {"0010", "0004"}},
      {2000, 3, {"9910", "9904"}}};
  for (const auto& row : rows) EXPECT_EQ(NewestPeriods(row.year, row.month), row.periods) << row.month;
  for (const char* good : {"2510", "0004"}) EXPECT_TRUE(IsValidPeriod(good)) << good;
  for (const char* bad : {"", "251", "25100", "2505", "2a10", "-510"}) EXPECT_FALSE(IsValidPeriod(bad)) << bad;
}

// The periods a download with history fetches before the newest, found by the newest archive's name.
TEST(FanDownload, OlderPeriodsByTheNewestArchive) {
  const struct { const char* name; int count; std::vector<std::string> periods; } rows[] = {
      {"fan2510.lzh", 3, {"2504", "2410", "2404"}}, {"fan2604 (1).lzh", 2, {"2510", "2504"}},
      {"fan0210.lzh", 9, {"0204", "0110", "0104"}}, {"fan2510.lzh", 0, {}},
      {"fan2505.lzh", 1, {}}, {"lh5-level1.lzh", 1, {}}, {"fa", 1, {}}};
  for (const auto& row : rows)
    EXPECT_EQ(PeriodsBefore(ArchivePeriod(row.name), row.count), row.periods) << row.name << " " << row.count;
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

TEST(FanDownload, RedirectRule) {
  const struct { const char *from, *to; int hops; bool allowed; } rows[] = {
      {"https://a/x", "https://b/y", 0, true},  {"http://a/x", "https://a/x", 0, true},
      {"http://a/x", "http://b/x", 4, true},    {"https://a/x", "http://a/x", 0, false},
      {"HTTPS://a/x", "Http://a/x", 0, false},  {"https://a/x", "https://a/y", 5, false},
      {"https://a/x", "ftp://a/x", 0, false},   {"http://a/x", "file:///etc/passwd", 0, false},
      {"https://a/x", "httpsx://a/x", 0, false}};
  for (const auto& r : rows) EXPECT_EQ(RedirectAllowed(r.from, r.to, r.hops), r.allowed) << r.from << " " << r.to;
}

TEST(FanDownload, TellsTheLimitsAsSet) {
  const struct { eDownloadFailure failure; cDownloadLimits limits; const char* reason; } rows[] = {
      {eDownloadFailure::Timeout, {}, "30 秒間データが届きませんでした。"},
      {eDownloadFailure::TooSlow, {}, "10 分以内に受け取りが終わりませんでした。"},
      {eDownloadFailure::TooSlow, {30s, 90s}, "90 秒以内に受け取りが終わりませんでした。"}};
  for (const auto& r : rows) {
    EXPECT_EQ(DownloadFailureText("u", r.failure, "", r.limits),
              std::string("ファン手帳ファイルをダウンロードできません。\r\nu\r\n") + r.reason);
  }
}

// The network half: a body reaches the folder only whole; a connection that
// fails, ends early, trickles, falls silent or hops too often shows one box
// naming the address (how each is judged and told: DownloadFlowTest).
TEST(FanDownload, FromLocalServer) {
  cTempDir served, saved;
  const std::string archive = ReadBytes(DataPath("archive/lh0-level0.lzh"));  // 1290 bytes
  const std::string older = NewestPeriodsToday()[1];
  for (const std::string& name : {std::string("fan1904.lzh"), "fan" + older + ".lzh"}) served.WriteFile(name, archive);
  const cLocalServer server(served.Path());
  const std::string down = cLocalServer(served.Path()).Base();  // stopped again: nothing listens there
  const std::string b = server.Base();
  const auto box = [](const std::string& base, const std::string& reason, const char* yymm = "1904") {
    return "ファン手帳ファイルをダウンロードできません。\r\n" + base + "/fan" + yymm + ".lzh\r\n" + reason;
  };
  const struct {
    std::string base, yymm, savedAs, box;
    std::string counter = {};  // the label at the end, when it matters
    cDownloadLimits limits = {};
  } rows[] = {
      {b, "1904", "fan1904.lzh", "", "1 KB / 1 KB"},
      {b + "/cut/9999", "1904", "fan1904.lzh", "", "1 KB"},  // whole, without a Content-Length
      {b + "/hop/5", "1904", "fan1904.lzh", "", "1 KB / 1 KB"},
      {b, "", "fan" + older + ".lzh", "", "1 KB / 1 KB"},  // the newest is not out yet: 404
      {down, "1904", "", box(down, "サーバーに接続できません。\r\n")},
      {b + "/short/1000", "1904", "",
       box(b + "/short/1000", "受け取ったデータは途中で切れています (1000 / 1290 バイト)。"), "0 KB / 1 KB"},
      {b + "/drip/1", "1904", "", box(b + "/drip/1", "2 秒以内に受け取りが終わりませんでした。"), "0 KB / 1 KB",
       {30s, 2s}},
      {b + "/mute/5", "1904", "", box(b + "/mute/5", "1 秒間データが届きませんでした。"), "", {1s, 30s}},
      {b + "/hop/6", "1904", "",
       box(b + "/hop/6", "リダイレクトを拒否しました (HTTPS から HTTP へ移るもの、5 回を超えるものは"
                         "受け付けません)。\r\n" + b + "/fan1904.lzh")},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const auto& row = rows[i];
    cFakeWindow window;
    const fs::path folder = saved.Path() / std::to_string(i);
    if (!row.savedAs.empty()) {
      // What a killed download left, held open by nobody: the next download removes it.
      fs::create_directories(folder);
      saved.WriteFile(std::to_string(i) + "/.tobirex-download-Ab12Cd", "half");
    }
    const auto result = cQtDownloader(folder, row.base, row.limits).Download(row.yymm, window);
    if (!row.counter.empty()) {
      EXPECT_EQ(window.counter, row.counter) << i;
    }
    if (row.savedAs.empty()) {
      EXPECT_FALSE(result.has_value() || fs::exists(folder)) << i;
      ASSERT_EQ(window.boxes.size(), 1u) << i;
      const cFakeWindow::Box& shown = window.boxes[0];
      EXPECT_EQ(shown.caption + ": " + shown.text.substr(0, row.box.size()), "Harumado: " + row.box) << i;
      continue;
    }
    EXPECT_EQ(result, folder / row.savedAs) << i;
    EXPECT_EQ(ReadBytes(folder / row.savedAs), archive) << i;
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << i;
    EXPECT_TRUE(window.boxes.empty() && window.message == "ダウンロードしています ...") << i;
  }
}

// Ctrl-C while bytes trickle in ends the download at once, with nothing saved
// and no box; without the stop being looked for, the limits (60 s) would pass
// ctest's TIMEOUT first.
TEST(FanDownload, CtrlCStopsTheDownload) {
  cTempDir served, saved;
  served.WriteFile("fan1904.lzh", ReadBytes(DataPath("archive/lh0-level0.lzh")));
  const cLocalServer server(served.Path());
  cFakeWindow window;
  int stoppedBy = 0;
  {
    const cInterruptScope interruptible;
    std::thread ctrlC([] { std::this_thread::sleep_for(300ms), kill(getpid(), SIGINT); });
    try {
      cQtDownloader(saved.Path() / "d", server.Base() + "/drip/1", {60s, 60s}).Download("1904", window);
    } catch (const cInterrupted& e) {
      stoppedBy = e.Signal();
    }
    ctrlC.join();
  }
  RequestStop(0);
  EXPECT_EQ(stoppedBy, SIGINT);
  EXPECT_FALSE(fs::exists(saved.Path() / "d"));
  EXPECT_TRUE(window.boxes.empty());
}

