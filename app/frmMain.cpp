#include "app/frmMain.h"

#include <cstring>
#include <exception>

#include "app/Interrupt.h"
#include "app/OutputFolderGuard.h"
#include "report/ConvertFanFile.h"
#include "sensyu/FanInput.h"
#include "sensyu/RunError.h"

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

std::string RefusedInputText(const std::string& argText, const cFanInput& input) {
  std::string why;
  switch (input.failure) {
    case eFanInputFailure::TooLarge: why = "ファイルが大きすぎます（64 MiB を超えています）。"; break;
    case eFanInputFailure::NoFanMember: why = "アーカイブにファン手帳ファイル（fan*.txt）が入っていません。"; break;
    case eFanInputFailure::DamagedArchive: why = "アーカイブが壊れているか、途中で切れています。"; break;
    default: why = "選手のレコード（4桁の登録番号で始まる403バイト以上の行）がありません。"; break;
  }
  return "モーターボートファン手帳ファイルとして読み込めません。" + kCrLf + kCrLf + argText + kCrLf + why;
}

std::string UnreadableText(const std::string& argText, const cFanInput& input) {
  return WithErrorCode("ファイルを読み込めません。" + kCrLf + argText + kCrLf + input.reason, input.errorNumber);
}

std::string UnexpectedText(const char* what) {
  return "予期しないエラーのため変換を中止しました。以前のページはそのまま残っています。" + kCrLf + kCrLf + what;
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
    case eStartOutcome::NotAFanFile:
    case eStartOutcome::DownloadFailed:
    case eStartOutcome::ConversionFailed:
      return 1;
    case eStartOutcome::Refused:
      return 2;
    default:
      return 0;
  }
}

frmMain::frmMain(cWindowServices& window, cFormWindow& form, cShellServices& shell, cSiteFactory sites,
                 cFanDownloader* downloader)
    : m_Window(window), m_Form(form), m_Shell(shell), m_Sites(std::move(sites)), m_Downloader(downloader) {}

eStartOutcome frmMain::Form_Load(const cCommandLine& cmd) {
  try {
    return Start(cmd);
  } catch (const cInterrupted&) {
    throw;  // the staging folder is gone; main ends the program as the signal asked
  } catch (const std::exception& e) {
    // Out of memory or anything else unforeseen: told, and the old site stays.
    m_Window.MsgBox(UnexpectedText(e.what()), MsgButtons::OK, MsgIcon::Exclamation, kAppTitle);
    return eStartOutcome::ConversionFailed;
  }
}

eStartOutcome frmMain::Start(const cCommandLine& cmd) {
  SetOutputFolder(cmd);
  if (cmd.download) return StartWithDownload(cmd);
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
  if (cmd.outputFolder) {
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

// The downloaded archive then goes the way of a file the user named.
eStartOutcome frmMain::StartWithDownload(const cCommandLine& cmd) {
  m_Form.ShowAtTopLeft();  // the labels count the kilobytes received
  const auto archive = m_Downloader ? m_Downloader->Download(cmd.downloadPeriod, m_Window) : std::nullopt;
  if (!archive) return eStartOutcome::DownloadFailed;
  cCommandLine next = cmd;
  next.argText = archive->string();
  return StartWithFile(next);
}

eStartOutcome frmMain::StartWithFile(const cCommandLine& cmd) {
  if (!m_Shell.PlainFileExists(cmd.argText)) {
    m_Window.MsgBox(NotFoundText(cmd.argText), MsgButtons::OK, MsgIcon::None, kAppTitle);
    return eStartOutcome::NotFound;
  }
  // Read before anything on disk is touched: a file that is no fan file must
  // not cost the user the site they have.
  const std::optional<std::string> bytes = ReadInput(cmd.argText);
  if (!bytes) return eStartOutcome::NotAFanFile;
  if (!OutputFolderIsOurs()) return eStartOutcome::Refused;
  if (!cmd.assumeYes &&
      m_Window.MsgBox(ConfirmText(cmd.argText), MsgButtons::YesNo, MsgIcon::Question, kAppTitle) == MsgResult::No)
    return eStartOutcome::Declined;
  return Convert(cmd.argText, *bytes, cmd.noOpen);
}

std::optional<std::string> frmMain::ReadInput(const std::string& strFileName) {
  cFanInput input = ReadFanInput(strFileName);
  if (input.failure == eFanInputFailure::None) return std::move(input.bytes);
  const bool unreadable = input.failure == eFanInputFailure::Unreadable;
  m_Window.MsgBox(unreadable ? UnreadableText(strFileName, input) : RefusedInputText(strFileName, input),
                  MsgButtons::OK, MsgIcon::Exclamation, kAppTitle);
  return std::nullopt;
}

// The folder is replaced whole: only when it holds nothing but our site.
bool frmMain::OutputFolderIsOurs() {
  const cFolderCheck check = CheckOutputFolder(m_OutputFolder);
  if (check.ok) return true;
  m_Window.MsgBox(RefusedOutputText(m_OutputFolder, check.stranger), MsgButtons::OK, MsgIcon::Exclamation, kAppTitle);
  return false;
}

eStartOutcome frmMain::Convert(const std::string& strFileName, const std::string& bytes, bool noOpen) {
  {
    cConvertingScope converting(m_Converting);
    m_Window.SetLabel(ProgressLabel::Message, "");
    m_Window.SetLabel(ProgressLabel::Counter, "");
    m_Form.ShowAtTopLeft();
    cInterruptScope interruptible;
    cSiteStaging staging(m_OutputFolder);
    if (!ConvertIntoStaging(strFileName, bytes, staging)) return eStartOutcome::ConversionFailed;
  }
  if (!noOpen) OpenRosterPage();
  return eStartOutcome::Converted;
}

bool frmMain::ConvertIntoStaging(const std::string& strFileName, const std::string& bytes, cSiteStaging& staging) {
  try {
    InitOutputFolder(staging);
  } catch (const cFileFailure& e) {
    // Named as the user knows it, not by the files kept beside it.
    m_Window.MsgBox(WithErrorCode("フォルダを作成できません。" + kCrLf + m_OutputFolder.string() + kCrLf +
                                      std::strerror(e.Errno()), e.Errno()),
                    MsgButtons::OK, MsgIcon::Exclamation, kAppTitle);
    return false;
  }
  const std::unique_ptr<cSiteFolder> site = m_Sites(staging.Folder());
  cInterruptibleWindow window(m_Window);
  if (!ConvertFanFile(strFileName, bytes, *site, window, lstName, m_SensyuFile)) return false;
  try {
    site->Flush();
    ThrowIfInterrupted();
    const fs::path old = staging.Commit();
    if (!old.empty()) m_Shell.ShellDelete(old);
  } catch (const cFileFailure& e) {
    m_Window.MsgBox(WithErrorCode("ファイルを書き込めません。" + kCrLf + e.File().string() + kCrLf +
                                      std::strerror(e.Errno()), e.Errno()),
                    MsgButtons::OK, MsgIcon::Exclamation, kAppTitle);
    return false;
  }
  return true;
}

// The old site stays until the new one is complete: what is prepared here is
// the folder the new one is built in, beside it.
void frmMain::InitOutputFolder(cSiteStaging& staging) {
  m_Window.SetLabel(ProgressLabel::Message, "初期化しています ...");
  m_Window.DoEvents();
  // A fresh account may have no desktop folder yet.
  m_Shell.CreateFolders(m_OutputFolder.parent_path());
  staging.Begin([this] {
    m_Window.SetLabel(ProgressLabel::Message, "別の変換が終わるのを待っています ...");
    m_Window.DoEvents();
  });
}

int32_t frmMain::ShellOpen(const std::string& file, const std::string& params, const std::string& dir) {
  return m_Shell.ShellOpen(file, params, dir);
}

void frmMain::OpenRosterPage() { ShellOpen(RosterPage().string(), "", m_OutputFolder.string()); }
