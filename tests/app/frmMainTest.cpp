// Startup and dispatch with a scripted window, converting for real into a
// temp folder that stands for the desktop.
#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <regex>

#include "app/frmMain.h"
#include "platform/ErrorText.h"
#include "platform/Interrupt.h"
#include "platform/Path.h"
#include "support/FakeWindow.h"
#include "support/StepFileSystem.h"
#include "support/TempDir.h"
#include "support/TestData.h"

namespace fs = std::filesystem;

namespace {

class cFakeShell : public cLocalShellServices {
 public:
  std::string GetDesktopPath() override { return desktop; }
  int32_t ShellOpen(const std::string&, const std::string&, const std::string&) override { return 1; }
  std::string desktop;
};

struct cNoForm : cFormWindow { void ShowAtTopLeft() override {} };

// Fails the write of one page, or the flush, of a site on disk.
class cFailingSite : public cSiteFolder {
 public:
  cFailingSite(const fs::path& root, std::string page) : m_Disk(DiskSiteFolder(root)), m_Page(std::move(page)) {}
  void CreateFolder(const fs::path& relative) override { m_Disk->CreateFolder(relative); }
  void WritePage(const fs::path& relative, std::string_view bytes) override {
    if (m_Page == "out of memory") throw std::bad_alloc();
    if (relative == m_Page) throw cFileFailure(relative, ENOSPC);
    m_Disk->WritePage(relative, bytes);
  }
  void Flush() override {
    if (m_Page == "flush") throw cFileFailure("site", EIO);
    if (m_Page == "stop") RequestStop(SIGTERM);  // asked while the pages are flushed
  }

 private:
  std::unique_ptr<cSiteFolder> m_Disk;
  std::string m_Page;
};

struct cStart {
  cTempDir tmp;
  cFakeWindow window;
  cNoForm form;
  cFakeShell shell;
  cSiteFactory sites = DiskSites();
  cFileSystem* files = &SystemFileSystem();
  fs::path Desktop() const { return tmp.Path() / "Desktop"; }
  fs::path Site() const { return Desktop() / PathFromUtf8("ファン手帳"); }

  eStartOutcome Run(std::vector<std::string> words) {
    shell.desktop = Desktop().string();
    window.boxes.clear();
    frmMain main(window, form, shell, sites, nullptr, *files);
    return main.Form_Load(ParseCommandLine(words));
  }
  // A fan file from tests/data, copied into the temp folder.
  std::string Data(const std::string& name) const { return tmp.WriteFile(name, ReadBytes(DataPath(name))).string(); }
  // Every file and folder under the temp folder, with its bytes.
  std::map<std::string, std::string> Tree() const {
    std::map<std::string, std::string> tree;
    for (const auto& e : fs::recursive_directory_iterator(tmp.Path()))
      tree[e.path().string()] = e.is_regular_file() ? ReadBytes(e.path()) : "<folder>";
    return tree;
  }
};

// A close request while pages are written is refused: they still read the racer data.
TEST(frmMain, RefusesToCloseWhileConverting) {
  struct cClosingWindow : cFakeWindow {
    frmMain* main = nullptr;
    std::vector<bool> answers;
    std::vector<std::string> repainted;  // lblMessage at each repaint
    void DoEvents() override {
      answers.push_back(main->Form_QueryUnload());
      if (repainted.empty() || repainted.back() != message) repainted.push_back(message);
    }
  } window;
  cStart s;
  s.shell.desktop = s.Desktop().string();
  frmMain main(window, s.form, s.shell);
  window.main = &main;
  ASSERT_EQ(main.Form_Load(ParseCommandLine({"--yes", s.Data("six_racers.txt")})), eStartOutcome::Converted);
  EXPECT_EQ(std::count(window.answers.begin(), window.answers.end(), true), 0);
  EXPECT_EQ(window.repainted, (std::vector<std::string>{"初期化しています ...", "ファイルを変換しています ...",
                                                       "索引ページを作成しています ..."}));
  EXPECT_TRUE(main.SensyuFile() != nullptr);
  EXPECT_TRUE(main.Form_QueryUnload());
  EXPECT_TRUE(main.SensyuFile() == nullptr);
}

// Whatever goes wrong, the site of the last good run stays byte for byte and
// nothing is left beside it.
TEST(frmMain, RefusedOrFailedRunsLeaveTheOldSiteAsItWas) {
  const struct {
    const char* name;
    std::string file, failAt;
    std::vector<MsgResult> answers;
    eStartOutcome outcome;
    std::string box;
  } rows[] = {
      {"missing file", "", "", {}, eStartOutcome::NotFound, "モーターボートファン手帳ファイルが見つかりません。"},
      {"empty file", "empty.txt", "", {}, eStartOutcome::NotAFanFile, "選手のレコード"},
      {"text that is no fan file", "fields.txt", "", {}, eStartOutcome::NotAFanFile, "選手のレコード"},
      {"declined", "six_racers.txt", "", {MsgResult::No}, eStartOutcome::Declined, "変換しますか。"},
      {"page unwritable", "seven_racers.txt", "4000/4321.html", {}, eStartOutcome::ConversionFailed,
       "ファイルを書き込めません。\r\n" + PathToUtf8(fs::path("4000") / "4321.html") + "\r\n" + ErrorText(ENOSPC) +
           "\r\n(Error code:" + std::to_string(ENOSPC) + ")"},
      {"flush fails", "seven_racers.txt", "flush", {}, eStartOutcome::ConversionFailed, ErrorText(EIO)},
      {"out of memory", "seven_racers.txt", "out of memory", {}, eStartOutcome::ConversionFailed, "予期しないエラー"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    cStart s;
    ASSERT_EQ(s.Run({"--yes", s.Data("six_racers.txt")}), eStartOutcome::Converted);
    const std::string input = row.file.empty() ? (s.tmp.Path() / "none.txt").string() : s.Data(row.file);
    const auto before = s.Tree();
    s.window.answers = {row.answers.begin(), row.answers.end()};
    if (!row.failAt.empty()) s.sites = [&](const fs::path& root) { return std::make_unique<cFailingSite>(root, row.failAt); };
    EXPECT_EQ(s.Run({input}), row.outcome);
    EXPECT_EQ(ExitStatus(row.outcome), row.outcome == eStartOutcome::Declined ? 0 : 1);
    EXPECT_NE(s.window.boxes.back().text.find(row.box), std::string::npos) << s.window.boxes.back().text;
    EXPECT_TRUE(s.Tree() == before);
  }
}

// A stop asked between the run's steps ends the run before the swap.
TEST(frmMain, AStopAskedBetweenTheStepsEndsTheRun) {
  cStart s;
  const std::string input = s.Data("seven_racers.txt");
  ASSERT_EQ(s.Run({"--yes", s.Data("six_racers.txt")}), eStartOutcome::Converted);
  const auto before = s.Tree();
  s.sites = [](const fs::path& root) { return std::make_unique<cFailingSite>(root, "stop"); };
  EXPECT_THROW(s.Run({"--yes", input}), cInterrupted);
  RequestStop(0);
  EXPECT_TRUE(s.Tree() == before);
}

// After the swap: an old site that cannot be taken apart is named in a
// warning and the run still succeeds (the next run takes it apart); any other
// failure then is told as one that came after the new site was in place.
TEST(frmMain, FailuresAfterTheSwapAreTold) {
  struct cStubbornOldSite : cStepFileSystem {
    bool outOfMemory = false;
    cStubbornOldSite() : cStepFileSystem(0, eFault::FailOnce, true) {}
    void Remove(const fs::path& path) override {
      // The old site stands aside (or, exchanged, in the staging folder's place) under one of our names.
      if (PathToUtf8(path).find(".tobirex-") == std::string::npos) return cStepFileSystem::Remove(path);
      if (outOfMemory) throw std::bad_alloc();
      throw cFileFailure(path, EACCES);
    }
  };
  for (const bool outOfMemory : {false, true}) {
    cStart s;
    ASSERT_EQ(s.Run({"--yes", s.Data("six_racers.txt")}), eStartOutcome::Converted);
    cStubbornOldSite stubborn;
    stubborn.outOfMemory = outOfMemory;
    s.files = &stubborn;
    EXPECT_EQ(s.Run({"--yes", s.Data("seven_racers.txt")}), outOfMemory ? eStartOutcome::ConversionFailed : eStartOutcome::Converted);
    EXPECT_NE(s.window.boxes.back().text.find(outOfMemory ? "新しいページへの入れ替えは済んでいます。" : "片付けられませんでした。"), std::string::npos);
    const std::string& told = s.window.boxes.back().text;
    EXPECT_NE(told.find(outOfMemory ? "std::bad_alloc" : ".ファン手帳.tobirex-"), std::string::npos);
    if (!outOfMemory) {  // every page of the old site stayed: five are named, then how many more
      EXPECT_TRUE(std::regex_search(told, std::regex("もう一度片付けます。\r\n(\r\n[^\r]*\\.tobirex-[^\r]*){5}\r\nほか [1-9][0-9]* 件$")))
          << told;
    }
    EXPECT_TRUE(fs::exists(s.Site() / "5000/5001.html"));  // the new site is in place
    s.files = &SystemFileSystem();
    ASSERT_EQ(s.Run({"--yes", s.Data("six_racers.txt")}), eStartOutcome::Converted);
    EXPECT_EQ(std::distance(fs::directory_iterator(s.Desktop()), fs::directory_iterator()), 1);  // taken apart now
  }
}

// The guard takes back every page the writer writes, whatever the racer
// number, and refuses anything else in the folder, the desktop's included.
TEST(frmMain, ReplacesOnlyASiteOfItsOwn) {
  cStart s;
  std::string fan = ReadBytes(DataPath("six_racers.txt"));
  for (const char* no : {" 123", "+999", "12.5", "9999"}) fan += std::string(no) + "\r\n";
  const std::string input = s.tmp.WriteFile("odd.txt", fan).string();
  ASSERT_EQ(s.Run({"--yes", input}), eStartOutcome::Converted);
  EXPECT_TRUE(fs::exists(s.Site() / "0000/ 123.html") && fs::exists(s.Site() / "9000/9999.html"));
  // What a file manager leaves in a folder it shows is carried over, never refused.
  for (const char* own : {"Desktop/ファン手帳/desktop.ini", "Desktop/ファン手帳/9000/Thumbs.db", "Desktop/ファン手帳/.DS_Store"})
    s.tmp.WriteFile(own, "the file manager's");
  EXPECT_EQ(s.Run({"--yes", input}), eStartOutcome::Converted);
  EXPECT_TRUE(fs::exists(s.Site() / "desktop.ini") && fs::exists(s.Site() / "9000/Thumbs.db") &&
              fs::exists(s.Site() / ".DS_Store"));
  s.tmp.WriteFile("Desktop/ファン手帳/9000/notes.txt", "mine");
  const auto before = s.Tree();
  EXPECT_EQ(s.Run({"--yes", input}), eStartOutcome::Refused);
  EXPECT_EQ(ExitStatus(eStartOutcome::Refused), 2);
  EXPECT_NE(s.window.boxes[0].text.find(PathToUtf8(fs::path("9000") / "notes.txt")), std::string::npos);
  EXPECT_TRUE(s.Tree() == before);
}

}  // namespace
