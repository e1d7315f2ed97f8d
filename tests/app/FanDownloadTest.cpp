// Real downloads with the Qt half from tests/support/download_server.py on
// 127.0.0.1, with no Qt application running beforehand.
#include "app/qt/QtHttpGet.h"

#include "app/FanDownload.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <thread>

#include "platform/Interrupt.h"
#include "support/FakeWindow.h"
#include "support/LocalServer.h"
#include "support/TempDir.h"
#include "support/TestData.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The network half: a body reaches the folder only whole; a connection that
// fails, ends early, trickles, falls silent or hops too often shows one box
// naming the address (how each is judged and told: DownloadFlowTest).
TEST(FanDownload, FromLocalServer) {
  cTempDir served, saved;
  const std::string archive = ReadBytes(DataPath("archive/lh0-level0.lzh"));  // 1290 bytes
  served.WriteFile("fan1904.lzh", archive);
  const cLocalServer server(served.Path());
  const std::string down = cLocalServer(served.Path()).Base();  // stopped again: nothing listens there
  const std::string b = server.Base();
  const auto box = [](const std::string& base, const std::string& reason) {
    return "ファン手帳ファイルをダウンロードできません。\r\n" + base + "/fan1904.lzh\r\n" + reason;
  };
  const struct {
    std::string base, savedAs, box;
    std::string counter = {};  // the label at the end, when it matters
    cDownloadLimits limits = {};
  } rows[] = {
      {b, "fan1904.lzh", "", "1 KB / 1 KB"},
      {b + "/cut/9999", "fan1904.lzh", "", "1 KB"},  // whole, without a Content-Length
      {down, "", box(down, "サーバーに接続できません。\r\n")},
      {b + "/short/1000", "",
       box(b + "/short/1000", "受け取ったデータは途中で切れています (1000 / 1290 バイト)。"), "0 KB / 1 KB"},
      {b + "/drip/1", "", box(b + "/drip/1", "2 秒以内に受け取りが終わりませんでした。"), "0 KB / 1 KB",
       {30s, 2s}},
      {b + "/mute/5", "", box(b + "/mute/5", "1 秒間データが届きませんでした。"), "", {1s, 30s}},
      // Every redirect is passed on to be judged, none followed by Qt itself: the sixth is refused.
      {b + "/hop/6", "",
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
    const auto result = cHttpDownloader(QtHttpGet, folder, row.base, row.limits).Download("1904", window);
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
      cHttpDownloader(QtHttpGet, saved.Path() / "d", server.Base() + "/drip/1", {60s, 60s}).Download("1904", window);
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

