// Whole sites converted in memory from the fan files under tests/data/,
// compared byte for byte with tests/golden/, and runs whose file system
// fails at the seam.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "platform/ErrorText.h"
#include "platform/Path.h"
#include "report/ConvertFanFile.h"
#include "support/FakeWindow.h"
#include "support/MemorySite.h"
#include "support/TestData.h"

namespace fs = std::filesystem;

namespace {

struct cRun {
  cFakeWindow window;
  cMemorySite site;
  cNameList lstName;
  std::shared_ptr<cSensyuFile> sensyu;
  bool Convert(const std::string& bytes, bool extras = false) {
    return ConvertFanFile("fan.txt", bytes, site, window, lstName, sensyu, nullptr, extras);
  }
  std::string Boxes() const {
    std::string text;
    for (const auto& box : window.boxes) text += box.caption + ": " + box.text + "\n";
    std::replace(text.begin(), text.end(), '\\', '/');  // the page's path as on every system
    return text;
  }
};

// ranking_ties with --extras: ties and the 30-start line in every ranking, a course without starts.
TEST(ConvertFanFile, WritesTheGoldenSites) {
  for (const auto& [name, extras] : {std::pair{"seven_racers", false}, {"six_racers", false}, {"malformed", false},
                                     {"empty", false}, {"damaged", false}, {"ranking_ties", true}}) {
    SCOPED_TRACE(name);
    cRun run;
    ASSERT_TRUE(run.Convert(ReadBytes(DataPath(std::string(name) + ".txt")), extras)) << run.Boxes();
    const fs::path golden = fs::path(TEST_GOLDEN_DIR) / name;
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(golden)) {
      if (!entry.is_regular_file()) continue;
      ++files;
      const std::string page = PathToWebUtf8(fs::relative(entry.path(), golden));
      EXPECT_TRUE(run.site.pages[page] == ReadBytes(entry.path())) << page << " differs from the golden page";
    }
    EXPECT_EQ(run.site.pages.size(), files);
  }
}

// The sample's 1,602 pages (1,604 with --extras) as size and FNV-1a hash, so
// that any byte that changes anywhere in a realistic site is seen.
TEST(ConvertFanFile, WritesTheSampleSiteAsBefore) {
  for (const auto& [extras, expected] : {std::pair{false, "sample_site.manifest"}, {true, "sample_extras.manifest"}}) {
    SCOPED_TRACE(expected);
    cRun run;
    ASSERT_TRUE(run.Convert(ReadBytes(SAMPLE_FILE), extras));
    std::string manifest;
    for (const auto& [page, bytes] : run.site.pages) {
      uint64_t hash = 0xcbf29ce484222325u;
      for (unsigned char c : bytes) hash = (hash ^ c) * 0x100000001b3u;
      char line[64];
      std::snprintf(line, sizeof line, " %zu %016llx\n", bytes.size(), static_cast<unsigned long long>(hash));
      manifest += page + line;
    }
    ExpectMatchesFile(manifest, expected);
    EXPECT_EQ(run.window.counter, "1600/1600");
  }
}

// An entry added after the list was read still takes its place.
TEST(NameList, KeepsIndexOrderAsEntriesArrive) {
  cNameList list;
  list.AddItem({"ｲﾉｳｴ", "4001", "a", "井上"});
  EXPECT_EQ(list.List(0).no, "4001");
  list.AddItem({"ｱｵｷ", "4002", "b", "青木"});
  EXPECT_EQ(list.List(0).no, "4002");
  EXPECT_EQ(list.List(1).no, "4001");
}

std::string RacerLines(int count) {
  std::string lines;
  for (int i = 0; i < count; ++i) lines += std::to_string(1000 + i % 9000) + "\r\n";
  return lines;
}

TEST(ConvertFanFile, TellsEveryFailureAndStops) {
  const std::string six = ReadBytes(DataPath("six_racers.txt"));
  const std::string overflow = "選手ファイル読み取りエラー: オーバーフローしました。\r\n(Error code:6)\n";
  const struct {
    const char* name;
    std::string file, failingPage;
    int pageErrno, folderErrno;
    std::string boxes;
    bool extras = false;
  } rows[] = {
      {"folder in the way", six, "", 0, ENOTDIR,
       "Harumado: フォルダを作成できません。\r\n4000\r\n" + ErrorText(ENOTDIR) + "\r\n(Error code:20)\n"},
      {"racer page unwritable", six, "4000/4003.html", EIO, 0,
       "Harumado: ファイルを書き込めません。\r\n4000/4003.html\r\n" + ErrorText(EIO) + "\r\n(Error code:5)\n"},
      {"disk full at the index", six, "索引.html", ENOSPC, 0,
       "Harumado: ファイルを書き込めません。\r\n索引.html\r\n" + ErrorText(ENOSPC) + "\r\n(Error code:28)\n"},
      {"disk full at the race card", six, "出走表.html", ENOSPC, 0,
       "Harumado: ファイルを書き込めません。\r\n出走表.html\r\n" + ErrorText(ENOSPC) + "\r\n(Error code:28)\n", true},
      {"most racers a file may hold", RacerLines(32766), "", 0, 0, ""},
      {"one racer more", RacerLines(32767), "", 0, 0, overflow},
      {"more than a count holds", RacerLines(32768), "", 0, 0, overflow},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    cRun run;
    run.site.keepBytes = false;
    run.site.failingPage = row.failingPage;
    run.site.pageErrno = row.pageErrno;
    run.site.folderErrno = row.folderErrno;
    EXPECT_EQ(run.Convert(row.file, row.extras), row.boxes.empty());
    EXPECT_EQ(run.Boxes(), row.boxes);
  }
}

}  // namespace
