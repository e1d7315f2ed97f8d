#include "app/frmMain.h"

#include <gtest/gtest.h>

#include <fstream>

#include "FakeConversion.h"
#include "FakeShell.h"
#include "support/FakeWindow.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

const std::string kUsage =
    "モーターボートファン手帳ファイルを指定してください。\r\n\r\n"
    "Tobirex.exe に解凍後のファン手帳ファイルをドロップするか、\r\n"
    "またはコマンドラインからファン手帳ファイル名を引数に指定して実行してください｡\r\n"
    "（例）Tobirex.exe fan****.txt\r\n\r\n"
    "BOAT RACEオフィシャルウェブサイトからダウンロードしますか？";
const std::string kNotFound = "モーターボートファン手帳ファイルが見つかりません。\r\n\r\n";
const std::string kConfirm = "モーターボートファン手帳ファイルを変換しますか。\r\n\r\n";

class cFakeForm : public cFormWindow {
 public:
  explicit cFakeForm(const cFakeShell& shell) : m_Shell(shell) {}
  void ShowAtTopLeft() override {
    ++shown;
    deletedBeforeShow = m_Shell.deleted.size();
  }
  int shown = 0;
  std::size_t deletedBeforeShow = 0;

 private:
  const cFakeShell& m_Shell;
};

void WriteText(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << text;
}

// A desktop in a temp folder, a fan file on it, and frmMain wired to fakes.
class Startup : public ::testing::Test {
 protected:
  Startup() {
    fs::create_directory(desktop);
    WriteText(fanFile, "4321...");
  }

  eStartOutcome Run(std::vector<std::string> words) {
    return main.Form_Load(ParseCommandLine(words));
  }
  // The old site of an earlier run, with a racer the new file no longer lists.
  void MakeOldSite() { WriteText(outputFolder / "9000" / "9999.html", "old"); }

  cTempDir temp;
  fs::path desktop = temp.Path() / "Desktop";
  fs::path outputFolder = desktop / "ファン手帳";
  fs::path fanFile = temp.Path() / "fan2510.txt";
  cFakeWindow window;
  cFakeShell shell{desktop.string()};
  cFakeForm form{shell};
  cFakeConversion conversion;
  frmMain main{window, form, shell, conversion};
};

TEST_F(Startup, NoArgumentAndNoFolderShowsUsageAndYesOpensDownloadPage) {
  for (MsgResult answer : {MsgResult::Yes, MsgResult::No}) {
    SCOPED_TRACE(answer == MsgResult::Yes ? "Yes" : "No");
    window.boxes.clear();
    shell.downloadPageOpened = 0;
    window.answers = {answer};
    EXPECT_EQ(Run({}), eStartOutcome::ShowedUsage);
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].text, kUsage);
    EXPECT_EQ(window.boxes[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(window.boxes[0].icon, MsgIcon::Information);
    EXPECT_EQ(window.boxes[0].caption, "Harumado");
    EXPECT_EQ(shell.downloadPageOpened, answer == MsgResult::Yes ? 1 : 0);
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_TRUE(fs::is_empty(desktop));
    EXPECT_EQ(form.shown, 0);
  }
  EXPECT_EQ(ExitStatus(eStartOutcome::ShowedUsage), 0);
}

TEST_F(Startup, NoArgumentWithFolderReopensRosterPageEvenIfMissing) {
  fs::create_directory(outputFolder);
  EXPECT_EQ(Run({}), eStartOutcome::Reopened);
  EXPECT_TRUE(window.boxes.empty());
  ASSERT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(shell.opened[0].file, (outputFolder / "ファン手帳.html").string());
  EXPECT_EQ(shell.opened[0].params, "");
  EXPECT_EQ(shell.opened[0].dir, outputFolder.string());
  EXPECT_EQ(ExitStatus(eStartOutcome::Reopened), 0);
}

TEST_F(Startup, NoOpenKeepsTheRosterPageClosed) {
  fs::create_directory(outputFolder);
  EXPECT_EQ(Run({"--no-open"}), eStartOutcome::Reopened);
  EXPECT_EQ(Run({"--no-open", "--yes", fanFile.string()}), eStartOutcome::Converted);
  EXPECT_TRUE(shell.opened.empty());
}

TEST_F(Startup, DirectoryOrMissingPathIsNotFoundAndLeavesFolderAlone) {
  MakeOldSite();
  fs::create_directory(temp.Path() / "fan.txt");
  const std::vector<std::string> args = {(temp.Path() / "fan.txt").string(), (temp.Path() / "nothing.txt").string(),
                                         "no such  file.txt"};
  for (const std::string& arg : args) {
    SCOPED_TRACE(arg);
    window.boxes.clear();
    EXPECT_EQ(Run({arg}), eStartOutcome::NotFound);
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].text, kNotFound + arg);
    EXPECT_EQ(window.boxes[0].buttons, MsgButtons::OK);
    EXPECT_EQ(window.boxes[0].icon, MsgIcon::None);
    EXPECT_EQ(window.boxes[0].caption, "Harumado");
  }
  EXPECT_TRUE(conversion.calls.empty());
  EXPECT_TRUE(fs::exists(outputFolder / "9000" / "9999.html"));
  EXPECT_EQ(ExitStatus(eStartOutcome::NotFound), 1);
}

TEST_F(Startup, ConfirmNoLeavesOutputFolderUntouched) {
  MakeOldSite();
  window.answers = {MsgResult::No};
  EXPECT_EQ(Run({fanFile.string()}), eStartOutcome::Declined);
  ASSERT_EQ(window.boxes.size(), 1u);
  EXPECT_EQ(window.boxes[0].text, kConfirm + fanFile.string());
  EXPECT_EQ(window.boxes[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(window.boxes[0].icon, MsgIcon::Question);
  EXPECT_EQ(window.boxes[0].caption, "Harumado");
  EXPECT_TRUE(conversion.calls.empty());
  EXPECT_TRUE(shell.deleted.empty());
  EXPECT_TRUE(fs::exists(outputFolder / "9000" / "9999.html"));
  EXPECT_EQ(form.shown, 0);
  EXPECT_EQ(ExitStatus(eStartOutcome::Declined), 0);
}

TEST_F(Startup, ConfirmYesDeletesOldFolderThenConvertsThenOpensRoster) {
  MakeOldSite();
  window.answers = {MsgResult::Yes};
  EXPECT_EQ(Run({fanFile.string()}), eStartOutcome::Converted);

  EXPECT_EQ(form.shown, 1);
  EXPECT_EQ(form.deletedBeforeShow, 0u);
  ASSERT_GE(window.labelLog.size(), 3u);
  EXPECT_EQ(window.labelLog[0], "M:");
  EXPECT_EQ(window.labelLog[1], "C:");
  EXPECT_EQ(window.labelLog[2], "M:初期化しています ...");
  EXPECT_EQ(shell.deleted, std::vector<fs::path>{outputFolder});

  ASSERT_EQ(conversion.calls.size(), 1u);
  const auto& call = conversion.calls[0];
  EXPECT_EQ(call.fileName, fanFile.string());
  EXPECT_EQ(call.outputFolder, outputFolder);
  EXPECT_FALSE(call.folderExisted);
  EXPECT_EQ(call.messageLabel, "初期化しています ...");
  EXPECT_EQ(call.doEvents, 1);

  EXPECT_FALSE(fs::exists(outputFolder / "9000"));
  ASSERT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(shell.opened[0].file, (outputFolder / "ファン手帳.html").string());
  EXPECT_EQ(shell.opened[0].params, "");
  EXPECT_EQ(shell.opened[0].dir, outputFolder.string());
  EXPECT_EQ(ExitStatus(eStartOutcome::Converted), 0);
}

TEST_F(Startup, YesOptionSkipsTheConfirmBoxOnly) {
  EXPECT_EQ(Run({"-y", fanFile.string()}), eStartOutcome::Converted);
  EXPECT_TRUE(window.boxes.empty());
  EXPECT_EQ(conversion.calls.size(), 1u);

  window.answers = {MsgResult::No};
  EXPECT_EQ(Run({"-y"}), eStartOutcome::Reopened);  // the folder exists now
  EXPECT_TRUE(window.boxes.empty());
}

TEST_F(Startup, FailedConversionOpensNothing) {
  conversion.succeed = false;
  EXPECT_EQ(Run({"--yes", fanFile.string()}), eStartOutcome::ConversionFailed);
  EXPECT_EQ(conversion.calls.size(), 1u);
  EXPECT_TRUE(shell.opened.empty());
  EXPECT_EQ(ExitStatus(eStartOutcome::ConversionFailed), 1);
}

TEST_F(Startup, MissingParentFoldersAreCreatedBeforeTheRun) {
  const fs::path freshDesktop = temp.Path() / "home" / "Desktop";
  shell.desktop = freshDesktop.string();
  EXPECT_EQ(Run({"--yes", fanFile.string()}), eStartOutcome::Converted);
  ASSERT_EQ(conversion.calls.size(), 1u);
  EXPECT_EQ(conversion.calls[0].outputFolder, freshDesktop / "ファン手帳");
  EXPECT_TRUE(conversion.calls[0].parentExisted);

  const fs::path deep = temp.Path() / "a" / "b" / "site";
  EXPECT_EQ(Run({"--yes", "--output", deep.string(), fanFile.string()}), eStartOutcome::Converted);
  ASSERT_EQ(conversion.calls.size(), 2u);
  EXPECT_EQ(conversion.calls[1].outputFolder, deep);
  EXPECT_TRUE(conversion.calls[1].parentExisted);
}

TEST_F(Startup, NoDesktopPutsFolderAtTheRoot) {
  shell.desktop = "";
  window.answers = {MsgResult::No};
  Run({});
  EXPECT_EQ(main.OutputFolder(), fs::path("/ファン手帳"));
}

TEST_F(Startup, QuotedPathWithBlanksIsJoinedAndUnquoted) {
  const fs::path file = temp.Path() / "my files" / "fan 2510.txt";
  WriteText(file, "4321");
  const std::string text = file.string();
  const std::size_t blank = text.find(' ');
  window.answers = {MsgResult::Yes};
  EXPECT_EQ(Run({"\"" + text.substr(0, blank), text.substr(blank + 1) + "\""}), eStartOutcome::Converted);
  ASSERT_EQ(window.boxes.size(), 1u);
  EXPECT_EQ(window.boxes[0].text, kConfirm + text);
  ASSERT_EQ(conversion.calls.size(), 1u);
  EXPECT_EQ(conversion.calls[0].fileName, text);
}

TEST_F(Startup, OutputGuardRefusesForeignFilesAndTouchesNothing) {
  const fs::path chosen = temp.Path() / "site";
  WriteText(chosen / "ファン手帳.html", "old");
  WriteText(chosen / "notes.txt", "mine");
  EXPECT_EQ(Run({"--output", chosen.string(), fanFile.string()}), eStartOutcome::Refused);
  ASSERT_EQ(window.boxes.size(), 1u);  // no confirm box after the refusal
  EXPECT_EQ(window.boxes[0].icon, MsgIcon::Exclamation);
  EXPECT_EQ(window.boxes[0].caption, "Harumado");
  EXPECT_NE(window.boxes[0].text.find(chosen.string()), std::string::npos);
  EXPECT_NE(window.boxes[0].text.find("notes.txt"), std::string::npos);
  EXPECT_TRUE(conversion.calls.empty());
  EXPECT_TRUE(shell.deleted.empty());
  EXPECT_TRUE(fs::exists(chosen / "notes.txt"));
  EXPECT_TRUE(fs::exists(chosen / "ファン手帳.html"));
  EXPECT_EQ(form.shown, 0);
  EXPECT_EQ(ExitStatus(eStartOutcome::Refused), 2);
}

TEST_F(Startup, OutputGuardLetsAnEarlierSiteBeRebuilt) {
  const fs::path chosen = temp.Path() / "site";
  WriteText(chosen / "ファン手帳.html", "old");
  WriteText(chosen / "4000" / "4321.html", "old");
  EXPECT_EQ(Run({"--yes", "--output", chosen.string(), fanFile.string()}), eStartOutcome::Converted);
  EXPECT_EQ(shell.deleted, std::vector<fs::path>{chosen});
  EXPECT_FALSE(fs::exists(chosen / "4000"));
  ASSERT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(shell.opened[0].file, (chosen / "ファン手帳.html").string());
}

TEST_F(Startup, DesktopFolderIsClearedWhateverItHolds) {
  WriteText(outputFolder / "notes.txt", "mine");
  EXPECT_EQ(Run({"--yes", fanFile.string()}), eStartOutcome::Converted);
  EXPECT_FALSE(fs::exists(outputFolder / "notes.txt"));
}

TEST_F(Startup, CloseIsRefusedWhileConvertingAndReleasesRacerDataAfter) {
  bool closedDuringRun = true;
  conversion.duringRun = [&] { closedDuringRun = main.Form_QueryUnload(); };
  EXPECT_EQ(Run({"--yes", fanFile.string()}), eStartOutcome::Converted);
  EXPECT_FALSE(closedDuringRun);
  EXPECT_FALSE(main.Converting());
  EXPECT_NE(main.SensyuFile(), nullptr);
  EXPECT_TRUE(main.Form_QueryUnload());
  EXPECT_EQ(main.SensyuFile(), nullptr);
}

TEST_F(Startup, FailedRunAlsoEndsTheBusyState) {
  conversion.succeed = false;
  Run({"--yes", fanFile.string()});
  EXPECT_FALSE(main.Converting());
  EXPECT_TRUE(main.Form_QueryUnload());
}

}  // namespace
