#include "app/frmMain.h"

#include "app/OutputFolderGuard.h"

namespace fs = std::filesystem;

namespace {

const std::string kCrLf = "\r\n";
const std::string kOutputFolderName = "ファン手帳";
const std::string kRosterPageName = "ファン手帳.html";

std::string UsageText() {
  return "モーターボートファン手帳ファイルを指定してください。" + kCrLf + kCrLf +
         "Tobirex.exe に解凍後のファン手帳ファイルをドロップするか、" + kCrLf + "または" +
         "コマンドラインからファン手帳ファイル名を引数に指定して実行してください｡" + kCrLf +
         "（例）Tobirex.exe fan****.txt" + kCrLf + kCrLf +
         "BOAT RACEオフィシャルウェブサイトからダウンロードしますか？";
}

std::string NotFoundText(const std::string& argText) {
  return "モーターボートファン手帳ファイルが見つかりません。" + kCrLf + kCrLf + argText;
}

std::string ConfirmText(const std::string& argText) {
  return "モーターボートファン手帳ファイルを変換しますか。" + kCrLf + kCrLf + argText;
}

std::string RefusedOutputText(const fs::path& folder, const fs::path& stranger) {
  return "出力先のフォルダーに、このプログラムが作ったページ以外のものがあります。" + kCrLf +
         "フォルダーを消して作り直すことはせず、何も変更せずに終了します。" + kCrLf +
         "新しいフォルダーか空のフォルダーを指定してください。" + kCrLf + kCrLf + "出力先: " + folder.string() +
         kCrLf + "見つかったもの: " + stranger.string();
}

// Marks the conversion as running for as long as it is in scope.
class cConvertingScope {
 public:
  explicit cConvertingScope(bool& flag) : m_Flag(flag) { m_Flag = true; }
  ~cConvertingScope() { m_Flag = false; }
  cConvertingScope(const cConvertingScope&) = delete;
  cConvertingScope& operator=(const cConvertingScope&) = delete;

 private:
  bool& m_Flag;
};

}  // namespace

int ExitStatus(eStartOutcome outcome) {
  switch (outcome) {
    case eStartOutcome::NotFound:
    case eStartOutcome::ConversionFailed:
      return 1;
    case eStartOutcome::Refused:
      return 2;
    default:
      return 0;
  }
}

frmMain::frmMain(cWindowServices& window, cFormWindow& form, cShellServices& shell, cConversion& conversion)
    : m_Window(window), m_Form(form), m_Shell(shell), m_Conversion(conversion) {}

eStartOutcome frmMain::Form_Load(const cCommandLine& cmd) {
  SetOutputFolder(cmd);
  if (cmd.argText.empty()) return StartWithoutFile(cmd.noOpen);
  return StartWithFile(cmd);
}

bool frmMain::Form_QueryUnload() {
  // The racer pages still read the racer data: the window closes when the run ends.
  if (m_Converting) return false;
  m_SensyuFile.reset();
  return true;
}

fs::path frmMain::RosterPage() const { return m_OutputFolder / kRosterPageName; }

void frmMain::SetOutputFolder(const cCommandLine& cmd) {
  m_UserChoseOutput = cmd.outputFolder.has_value();
  if (m_UserChoseOutput) {
    m_OutputFolder = fs::absolute(*cmd.outputFolder);
  } else {
    // Joined as text: no desktop gives the folder at the root, as the shell would.
    m_OutputFolder = fs::path(m_Shell.GetDesktopPath() + fs::path::preferred_separator + kOutputFolderName);
  }
}

eStartOutcome frmMain::StartWithoutFile(bool noOpen) {
  if (m_Shell.FolderExists(m_OutputFolder)) {
    if (!noOpen) OpenRosterPage();
    return eStartOutcome::Reopened;
  }
  if (m_Window.MsgBox(UsageText(), MsgButtons::YesNo, MsgIcon::Information, kAppTitle) == MsgResult::Yes)
    m_Shell.OpenDownloadPage();
  return eStartOutcome::ShowedUsage;
}

eStartOutcome frmMain::StartWithFile(const cCommandLine& cmd) {
  if (!m_Shell.PlainFileExists(cmd.argText)) {
    m_Window.MsgBox(NotFoundText(cmd.argText), MsgButtons::OK, MsgIcon::None, kAppTitle);
    return eStartOutcome::NotFound;
  }
  // A folder the user named is deleted and rebuilt: only when it holds nothing but our site.
  if (m_UserChoseOutput) {
    const cFolderCheck check = CheckOutputFolder(m_OutputFolder);
    if (!check.ok) {
      m_Window.MsgBox(RefusedOutputText(m_OutputFolder, check.stranger), MsgButtons::OK, MsgIcon::Exclamation,
                      kAppTitle);
      return eStartOutcome::Refused;
    }
  }
  if (!cmd.assumeYes &&
      m_Window.MsgBox(ConfirmText(cmd.argText), MsgButtons::YesNo, MsgIcon::Question, kAppTitle) == MsgResult::No)
    return eStartOutcome::Declined;
  return Convert(cmd.argText, cmd.noOpen);
}

eStartOutcome frmMain::Convert(const std::string& strFileName, bool noOpen) {
  {
    cConvertingScope converting(m_Converting);
    m_Window.SetLabel(ProgressLabel::Message, "");
    m_Window.SetLabel(ProgressLabel::Counter, "");
    m_Form.ShowAtTopLeft();
    InitOutputFolder();
    // A fresh account may have no desktop folder yet; the run creates only the last level.
    m_Shell.CreateFolders(m_OutputFolder.parent_path());
    if (!m_Conversion.ConvertFanFile(strFileName, m_OutputFolder, m_Window, lstName, m_SensyuFile))
      return eStartOutcome::ConversionFailed;
  }
  if (!noOpen) OpenRosterPage();
  return eStartOutcome::Converted;
}

void frmMain::InitOutputFolder() {
  m_Window.SetLabel(ProgressLabel::Message, "初期化しています ...");
  m_Window.DoEvents();
  if (!m_Shell.FolderExists(m_OutputFolder)) return;
  m_Shell.ShellDelete(m_OutputFolder);
}

int32_t frmMain::ShellOpen(const std::string& file, const std::string& params, const std::string& dir) {
  return m_Shell.ShellOpen(file, params, dir);
}

void frmMain::OpenRosterPage() { ShellOpen(RosterPage().string(), "", m_OutputFolder.string()); }
