// The terminal front end as a user meets it: the real tobirex run with pipes
// or on a pseudo-terminal, in a home folder of its own and with no display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "RunProcess.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

const std::string kUsageLines =
    "モーターボートファン手帳ファイルを指定してください。\n\n"
    "Tobirex.exe に解凍後のファン手帳ファイルをドロップするか、\n"
    "またはコマンドラインからファン手帳ファイル名を引数に指定して実行してください｡\n"
    "（例）Tobirex.exe fan****.txt\n\n"
    "BOAT RACEオフィシャルウェブサイトからダウンロードしますか？\n";
const std::string kPipeAnswersNo = "[y/N] n (standard input is not a terminal: answering No)\n";

int Count(const std::string& text, const std::string& piece) {
  int n = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

void Touch(const fs::path& file) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << "x";
}

int CountRacerPages(const fs::path& site) {
  int n = 0;
  for (const auto& entry : fs::recursive_directory_iterator(site))
    if (entry.path().parent_path() != site && entry.path().extension() == ".html") ++n;
  return n;
}

class TerminalFrontEnd : public ::testing::Test {
 protected:
  TerminalFrontEnd() { fs::create_directory(home); }

  std::vector<std::string> Env(const std::vector<std::string>& extra = {}) const {
    std::vector<std::string> env = {"HOME=" + home.string(), "PATH=/usr/local/bin:/usr/bin:/bin", "LANG=C.UTF-8"};
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"})
      if (const char* value = std::getenv(name)) env.push_back(std::string(name) + "=" + value);
    env.insert(env.end(), extra.begin(), extra.end());
    return env;
  }
  cProcessResult Run(const std::vector<std::string>& args, const std::string& input = "") const {
    return RunWithPipes(TOBIREX_EXE, args, Env(), input);
  }
  cProcessResult RunAnswering(const std::vector<std::string>& args, const std::string& answer) const {
    return RunOnTerminal(TOBIREX_EXE, args, Env(), "[y/N] ", answer);
  }

  cTempDir temp;
  fs::path home = temp.Path() / "home";
  fs::path outputFolder = home / "Desktop" / "ファン手帳";
};

TEST_F(TerminalFrontEnd, VersionHelpAndBadCommandLine) {
  const auto version = Run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "Harumado 1.03\n");

  const auto help = Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: tobirex [OPTIONS] [FILE]\n", 0), 0u);

  const auto bad = Run({"--bogus", "fan.txt"});
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.out, "");
  EXPECT_EQ(bad.err, "tobirex: unknown option '--bogus'\nTry 'tobirex --help' for more information.\n");
}

TEST_F(TerminalFrontEnd, UsageThroughAPipeIsAnsweredNo) {
  const auto run = Run({}, "y\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "── (i) Harumado ──\n" + kUsageLines + kPipeAnswersNo);
  EXPECT_FALSE(fs::exists(home / "Desktop"));
}

TEST_F(TerminalFrontEnd, UsageAnsweredYesOnATerminalGivesTheDownloadPage) {
  const auto run = RunAnswering({}, "y\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("Download page: https://www.boatrace.jp/owpc/pc/extra/data/download.html"),
            std::string::npos)
      << run.out;
}

TEST_F(TerminalFrontEnd, ReopenFindsTheDesktopThroughXdgUserDirs) {
  Touch(home / ".config" / "user-dirs.dirs");
  std::ofstream(home / ".config" / "user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/デスクトップ\"\n";
  fs::create_directories(home / "デスクトップ" / "ファン手帳");
  const auto run = Run({});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "Open in a web browser: " + (home / "デスクトップ" / "ファン手帳" / "ファン手帳.html").string() + "\n");
}

TEST_F(TerminalFrontEnd, NotFoundEndsWithTheJoinedArgument) {
  const auto run = Run({"no", "such.txt"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "── Harumado ──\nモーターボートファン手帳ファイルが見つかりません。\n\nno such.txt\n");
}

TEST_F(TerminalFrontEnd, ConfirmThroughAPipeIsAnsweredNoAndTheFolderStays) {
  Touch(outputFolder / "4000" / "4321.html");
  const fs::path fan = temp.WriteFile("fan2510.txt", "4321\r\n");
  const auto run = Run({fan.string()}, "y\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "── (?) Harumado ──\nモーターボートファン手帳ファイルを変換しますか。\n\n" + fan.string() + "\n" +
                         kPipeAnswersNo);
  EXPECT_TRUE(fs::exists(outputFolder / "4000" / "4321.html"));
}

TEST_F(TerminalFrontEnd, ConfirmAnsweredNoOnATerminalLeavesTheFolder) {
  Touch(outputFolder / "4000" / "4321.html");
  const fs::path fan = temp.WriteFile("fan2510.txt", "4321\r\n");
  const auto run = RunAnswering({fan.string()}, "n\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("モーターボートファン手帳ファイルを変換しますか。"), std::string::npos);
  EXPECT_TRUE(fs::exists(outputFolder / "4000" / "4321.html"));
}

TEST_F(TerminalFrontEnd, GuardRefusesAFolderOfSomeoneElsesFiles) {
  const fs::path chosen = temp.Path() / "Documents";
  Touch(chosen / "ファン手帳.html");
  Touch(chosen / "tax-2025.pdf");
  const fs::path fan = temp.WriteFile("fan2510.txt", "4321\r\n");
  const auto run = Run({"--yes", "--output", chosen.string(), fan.string()});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out.rfind("── (!) Harumado ──\n", 0), 0u);
  EXPECT_NE(run.out.find((chosen / "tax-2025.pdf").string()), std::string::npos);
  EXPECT_TRUE(fs::exists(chosen / "tax-2025.pdf"));
  EXPECT_TRUE(fs::exists(chosen / "ファン手帳.html"));
}

TEST_F(TerminalFrontEnd, YesConvertsTheSampleWithAFewProgressLines) {
  ASSERT_TRUE(fs::exists(SAMPLE_FILE)) << "the bundled sample is missing";
  const fs::path site = temp.Path() / "site";
  const auto run = Run({"--yes", "--no-open", "--output", site.string(), SAMPLE_FILE});
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  const int pages = CountRacerPages(site);
  ASSERT_GT(pages, 0);
  EXPECT_TRUE(fs::exists(site / "ファン手帳.html"));
  EXPECT_TRUE(fs::exists(site / "索引.html"));
  const std::string n = std::to_string(pages);
  EXPECT_EQ(run.out.find("初期化しています ...\nファイルを変換しています ...\n  ["), 0u) << run.out;
  EXPECT_EQ(Count(run.out, "  [####################] " + n + "/" + n + "\n"), 2) << run.out;
  EXPECT_NE(run.out.find("\n索引ページを作成しています ...\n"), std::string::npos);
  EXPECT_LE(Count(run.out, "\n"), 30);
  EXPECT_TRUE(EndsWith(run.out, "\nSite written: " + (site / "ファン手帳.html").string() + "\n")) << run.out;
}

TEST_F(TerminalFrontEnd, ConfirmAnsweredYesOnATerminalConvertsOnAFreshAccount) {
  ASSERT_TRUE(fs::exists(SAMPLE_FILE)) << "the bundled sample is missing";
  const auto run = RunAnswering({SAMPLE_FILE}, "y\n");
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_TRUE(fs::exists(outputFolder / "ファン手帳.html"));
  EXPECT_GT(CountRacerPages(outputFolder), 0);
  EXPECT_NE(run.out.find("\r索引ページを作成しています ...  [####################]"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Open in a web browser: " + (outputFolder / "ファン手帳.html").string()), std::string::npos);
  EXPECT_NE(run.out.find("Site written: " + (outputFolder / "ファン手帳.html").string()), std::string::npos);
}

TEST_F(TerminalFrontEnd, QtWindowRunsOffscreenWithYes) {
  ASSERT_TRUE(fs::exists(SAMPLE_FILE)) << "the bundled sample is missing";
  const fs::path site = temp.Path() / "site";
  const auto run = RunWithPipes(TOBIREX_EXE, {"--yes", "--no-open", "--output", site.string(), SAMPLE_FILE},
                                Env({"QT_QPA_PLATFORM=offscreen"}), "");
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_EQ(run.out, "");  // the window, not the terminal, showed the run
  EXPECT_TRUE(fs::exists(site / "索引.html"));
  EXPECT_GT(CountRacerPages(site), 0);
}

}  // namespace
