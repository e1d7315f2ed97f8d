// The steps every downloader shares, over a scripted network half: the periods
// and names, which addresses are asked for, the redirects and limits, what is
// judged a failure, what the box says, what is saved.
#include <gtest/gtest.h>

#include <csignal>
#include <map>
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

TEST(DownloadFlow, ResolvesWhereARedirectLeads) {
  const struct { const char *base, *location, *url; } rows[] = {
      {"http://m/a/fan.lzh", "https://o/w", "https://o/w"}, {"http://m/a/fan.lzh", "//n/z", "http://n/z"},
      {"http://m/a/fan.lzh", "/b/x", "http://m/b/x"},       {"http://m/a/fan.lzh?q=/p", "y", "http://m/a/y"},
      {"http://m", "y", "http://m/y"}};
  for (const auto& r : rows) EXPECT_EQ(ResolveUrl(r.base, r.location), r.url) << r.base << " " << r.location;
}

// One fetch over a scripted network half: the redirects it follows or refuses,
// the limits it applies through the watch, the counter, a stop by Ctrl-C.
TEST(DownloadFlow, FollowsRedirectsAndAppliesTheLimits) {
  const std::string body(1500, 'x');
  const auto redirect = [](int status, std::string to) { return cHttpReply{eHttpFailure::None, status, std::move(to), {}, "", ""}; };
  const cHttpReply whole{eHttpFailure::None, 200, "", body.size(), body, ""};
  using cAnswer = std::function<cHttpReply(const cHttpWatch&)>;
  // Ticks the watch every 5 ms, a byte each tick when `flowing`, until it says
  // stop or `lasting` has passed; then the whole body came, and is told.
  const auto ticking = [&](std::uint64_t announced, bool flowing, std::chrono::milliseconds lasting = 1h) {
    return cAnswer([=](const cHttpWatch& watch) {
      const auto end = std::chrono::steady_clock::now() + lasting;
      for (std::uint64_t received = 0; std::chrono::steady_clock::now() < end; received += flowing ? 1 : 0) {
        if (!watch(received, announced)) return cHttpReply{eHttpFailure::Stopped, 200, "", announced, "", ""};
        std::this_thread::sleep_for(5ms);
      }
      watch(body.size(), announced);
      return whole;
    });
  };
  const auto reply = [](cHttpReply r) { return cAnswer([r](const cHttpWatch& watch) { watch(r.body.size(), r.announced); return r; }); };
  std::vector<cAnswer> sixHops;
  for (const int status : {301, 302, 303, 307, 308, 301}) sixHops.push_back(reply(redirect(status, "/again")));
  const struct {
    std::vector<cAnswer> answers;  // one per request, in order
    cDownloadLimits limits;
    eDownloadFailure failure;
    std::string last, detail;  // the last address asked for; the failure's detail
  } rows[] = {
      {{reply(redirect(302, "/b/fan.lzh")), reply(redirect(307, "c.lzh")), reply(whole)}, {}, eDownloadFailure::None,
       "http://m/b/c.lzh", ""},
      {{reply(redirect(301, "https://s/fan.lzh")), reply(redirect(308, "http://m/fan.lzh"))}, {},
       eDownloadFailure::Redirect, "https://s/fan.lzh", "http://m/fan.lzh"},
      {sixHops, {}, eDownloadFailure::Redirect, "http://m/again", "http://m/again"},
      {{ticking(body.size(), false)}, {50ms, 10s}, eDownloadFailure::Timeout, "http://m/a/fan.lzh", ""},
      {{ticking(body.size(), true, 150ms)}, {50ms, 10s}, eDownloadFailure::None, "http://m/a/fan.lzh", ""},
      {{ticking(body.size(), true)}, {10s, 100ms}, eDownloadFailure::TooSlow, "http://m/a/fan.lzh", ""},
      {{ticking(kMaxArchiveBytes + 1, true)}, {}, eDownloadFailure::TooLarge, "http://m/a/fan.lzh", ""},
      {{reply({eHttpFailure::Connect, 0, "", std::nullopt, "", "refused"})}, {}, eDownloadFailure::Connect,
       "http://m/a/fan.lzh", "refused"},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const auto& row = rows[i];
    std::vector<std::string> asked;
    const cHttpRequest request = [&](const std::string& url, const cHttpWatch& watch) {
      asked.push_back(url);
      return row.answers.at(asked.size() - 1)(watch);
    };
    cFakeWindow window;
    const cFetchResult fetched = FetchFollowingRedirects(request, "http://m/a/fan.lzh", row.limits, window);
    EXPECT_EQ(fetched.failure, row.failure) << i;
    EXPECT_EQ(asked.size(), row.answers.size()) << i;
    EXPECT_EQ(asked.back(), row.last) << i;
    EXPECT_EQ(fetched.detail, row.detail) << i;
    if (row.failure == eDownloadFailure::None) {
      EXPECT_TRUE(fetched.bytes == body && window.counter == "1 KB / 1 KB") << i;
    }
  }
  cFakeWindow window;
  const cHttpRequest ctrlC = [](const std::string&, const cHttpWatch& watch) {
    RequestStop(SIGINT);
    return cHttpReply{watch(0, std::nullopt) ? eHttpFailure::None : eHttpFailure::Stopped, 0, "", {}, "", ""};
  };
  EXPECT_THROW(FetchFollowingRedirects(ctrlC, "http://m/a/fan.lzh", {}, window), cInterrupted);
  RequestStop(0);
}
