// The steps every downloader shares, over a scripted network half: the periods
// and names, which addresses are asked for, the redirects and limits, what is
// judged a failure, what the box says, what is saved.
#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <set>
#include <thread>

#include "app/FanDownload.h"
#include "platform/Interrupt.h"
#include "support/FakeWindow.h"
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


TEST(DownloadFlow, ResolvesWhereARedirectLeads) {
  const struct { const char *base, *location, *url; } rows[] = {
      {"http://m/a/fan.lzh", "https://o/w", "https://o/w"}, {"http://m/a/fan.lzh", "//n/z", "http://n/z"},
      {"http://m/a/fan.lzh", "/b/x", "http://m/b/x"},       {"http://m/a/fan.lzh?q=/p", "y", "http://m/a/y"},
      {"http://m", "y", "http://m/y"}};
  for (const auto& r : rows) EXPECT_EQ(ResolveUrl(r.base, r.location), r.url) << r.base << " " << r.location;
}

// A whole download over a scripted network half, answering by address: the
// periods asked for, the redirects followed or refused, the limits applied
// through the watch, how each answer is judged and told, what is saved.
TEST(DownloadFlow, AsksFollowsJudgesTellsAndSaves) {
  using cAnswer = std::function<cHttpReply(const cHttpWatch&)>;
  const std::string archive = ReadBytes(DataPath("archive/lh0-level0.lzh"));  // 1290 bytes
  const std::string newest = NewestPeriodsToday()[0], older = NewestPeriodsToday()[1];
  const auto url = [](const std::string& yymm) { return "http://m/fan" + yymm + ".lzh"; };
  const auto box = [](const std::string& at, const std::string& reason) {
    return "ファン手帳ファイルをダウンロードできません。\r\n" + at + "\r\n" + reason;
  };
  const auto reply = [](int status, std::string body, std::optional<std::uint64_t> length,
                        eHttpFailure failure = eHttpFailure::None, std::string location = "") {
    return cAnswer([=](const cHttpWatch& watch) {
      watch(body.size(), length);
      return cHttpReply{failure, status, location, length, body, failure == eHttpFailure::None ? "" : "reset"};
    });
  };
  const auto to = [&](int status, const std::string& where) { return reply(status, "", 0, eHttpFailure::None, where); };
  // Ticks every 5 ms, a byte each tick when `flowing`, until the watch says stop or `lasting` passed; then all came.
  const auto ticking = [&](std::uint64_t length, bool flowing, std::chrono::milliseconds lasting = 1h) {
    return cAnswer([=](const cHttpWatch& watch) {
      const auto end = std::chrono::steady_clock::now() + lasting;
      for (std::uint64_t received = 0; std::chrono::steady_clock::now() < end; received += flowing ? 1 : 0) {
        if (!watch(received, length)) return cHttpReply{eHttpFailure::Stopped, 200, "", length, "", ""};
        std::this_thread::sleep_for(5ms);
      }
      watch(archive.size(), length);
      return cHttpReply{eHttpFailure::None, 200, "", length, archive, ""};
    });
  };
  const cAnswer whole = reply(200, archive, archive.size()), missing = reply(404, "", std::nullopt);
  const std::string again = "http://m/again";
  const struct {
    std::string yymm;
    std::map<std::string, cAnswer> answers;  // by address; an address not here is never asked for
    std::string savedAs, box;
    cDownloadLimits limits = {};
    bool blocked = false;  // a file stands where the download folder would be made
  } rows[] = {
      {"1904", {{url("1904"), whole}}, "fan1904.lzh", ""},
      {"1904", {{url("1904"), reply(200, archive, std::nullopt)}}, "fan1904.lzh", ""},
      {"", {{url(newest), missing}, {url(older), whole}}, "fan" + older + ".lzh", ""},
      {"", {{url(newest), reply(500, "", 4)}}, "", box(url(newest), "サーバーの応答は HTTP 500 でした。")},
      {"", {{url(newest), missing}, {url(older), missing}}, "", box(url(older), "サーバーの応答は HTTP 404 でした。")},
      {"1904", {{url("1904"), reply(200, archive.substr(0, 1000), archive.size(), eHttpFailure::Network)}}, "",
       box(url("1904"), "受け取ったデータは途中で切れています (1000 / 1290 バイト)。")},
      {"1904", {{url("1904"), reply(200, archive, archive.size(), eHttpFailure::Network)}}, "",
       box(url("1904"), "通信エラーが起きました。\r\nreset")},
      {"1904", {{url("1904"), reply(200, "<html>", std::nullopt)}}, "",
       box(url("1904"), "受け取ったデータは LZH 書庫ではありません。")},
      {"1904", {{url("1904"), reply(200, archive.substr(0, 1289), std::nullopt)}}, "",
       box(url("1904"), "受け取った LZH 書庫は途中で切れているか壊れています。")},
      {"1904", {{url("1904"), whole}}, "", box(url("1904"), "ダウンロード フォルダーに保存できません。\r\n"), {}, true},
      {"1904", {{url("1904"), to(302, "/b/x.lzh")}, {"http://m/b/x.lzh", to(307, "y.lzh")}, {"http://m/b/y.lzh", whole}},
       "fan1904.lzh", ""},
      {"1904", {{url("1904"), to(301, "https://s/x")}, {"https://s/x", to(308, "http://m/x")}}, "",
       box(url("1904"), "リダイレクトを拒否しました (HTTPS から HTTP へ移るもの、5 回を超えるものは受け付けません)。\r\nhttp://m/x")},
      {"1904", {{url("1904"), to(303, "/again")}, {again, to(302, again)}}, "", box(url("1904"), "リダイレクトを拒否しました")},
      {"1904", {{url("1904"), ticking(archive.size(), false)}}, "", box(url("1904"), "0 秒間データが届きませんでした。"),
       {50ms, 10s}},
      {"1904", {{url("1904"), ticking(archive.size(), true, 150ms)}}, "fan1904.lzh", "", {50ms, 10s}},
      {"1904", {{url("1904"), ticking(archive.size(), true)}}, "", box(url("1904"), "1 秒以内に受け取りが終わりませんでした。"),
       {10s, 1s}},
      {"1904", {{url("1904"), ticking(kMaxArchiveBytes + 1, true)}}, "", box(url("1904"), "64 MB を超えたため中止しました。")},
      {"1904", {{url("1904"), reply(0, "", std::nullopt, eHttpFailure::Connect)}}, "",
       box(url("1904"), "サーバーに接続できません。\r\nreset")},
  };
  cTempDir saved;
  saved.WriteFile("plain-file", "the download folder's place is taken");
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const auto& row = rows[i];
    std::set<std::string> asked;
    const cHttpRequest request = [&](const std::string& at, const cHttpWatch& watch) {
      asked.insert(at);
      return row.answers.at(at)(watch);
    };
    cFakeWindow window;
    const fs::path folder = saved.Path() / (row.blocked ? "plain-file" : "") / std::to_string(i);
    const auto result = cHttpDownloader(request, folder, "http://m/", row.limits).Download(row.yymm, window);
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
    EXPECT_TRUE(window.boxes.empty() && window.counter.starts_with("1 KB")) << i;
    EXPECT_EQ(result, folder / row.savedAs) << i;
    EXPECT_EQ(ReadBytes(folder / row.savedAs), archive) << i;
  }
  cFakeWindow window;
  const cHttpRequest ctrlC = [](const std::string&, const cHttpWatch& watch) {
    RequestStop(SIGINT);
    return cHttpReply{watch(0, std::nullopt) ? eHttpFailure::None : eHttpFailure::Stopped, 0, "", {}, "", ""};
  };
  EXPECT_THROW(cHttpDownloader(ctrlC, saved.Path() / "c", "http://m/").Download("1904", window), cInterrupted);
  RequestStop(0);
  EXPECT_FALSE(fs::exists(saved.Path() / "c"));
}
