#include "app/frmMain.h"

#include <exception>

#include "app/InterruptibleWindow.h"
#include "app/OutputFolderGuard.h"
#include "platform/ErrorText.h"
#include "platform/Path.h"
#include "report/ConvertFanFile.h"
#include "sensyu/FanInput.h"
#include "sensyu/RunError.h"

namespace fs = std::filesystem;

namespace {

const std::string kCrLf = "\r\n";
const std::string kOutputFolderName = "ファン手帳";
const std::string kRosterPageName = "ファン手帳.html";
// No signal has this number: the stop was asked by closing the window.
constexpr int kWindowClosed = -1;

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
    case eFanInputFailure::BeyondCp932:
      why = "UTF-8 のファイルですが、シフトJIS（コードページ 932）にない文字が含まれています。";
      break;
    default: why = "選手のレコード（4桁の登録番号で始まる403バイト以上の行）がありません。"; break;
  }
  return "モーターボートファン手帳ファイルとして読み込めません。" + kCrLf + kCrLf + argText + kCrLf + why;
}

std::string UnreadableText(const std::string& argText, const cFanInput& input) {
  return WithErrorCode("ファイルを読み込めません。" + kCrLf + argText + kCrLf + input.reason, input.errorNumber);
}

std::string UnexpectedText(const char* what, bool swapped) {
  return std::string("予期しないエラーのため変換を中止しました。") +
         (swapped ? "新しいページへの入れ替えは済んでいます。" : "以前のページはそのまま残っています。") + kCrLf +
         kCrLf + what;
}

std::string RefusedOutputText(const std::string& folder, const std::string& stranger) {
  return "出力先のフォルダーに、このプログラムが作ったページ以外のものがあります。" + kCrLf +
         "フォルダーを消して作り直すことはせず、何も変更せずに終了します。" + kCrLf +
         "新しいフォルダーか空のフォルダーを指定してください。" + kCrLf + kCrLf + "出力先: " + folder + kCrLf +
         "見つかったもの: " + stranger;
}

// The output folder's name leads to something else, or to what cannot be looked at.
std::string NotAFolderText(const std::string& folder, eEntryKind kind) {
  const std::string what = kind == eEntryKind::File ? "フォルダーではなくファイルです。" : "フォルダーではありません。";
  return "出力先は" + what + "置き換えることはせず、何も変更せずに終了します。" + kCrLf +
         "新しいフォルダーか空のフォルダーを指定してください。" + kCrLf + kCrLf + "出力先: " + folder;
}

// A bare --history took the next word for the start of FILE.
std::string HistoryWordText() {
  return kCrLf + kCrLf + "「--history」の後の言葉は、変換するファイルの名前として読みました。" + kCrLf +
         "過去の期のファイルがあるフォルダーは --history=DIR のように「=」でつないで指定してください。";
}

std::string UnplaceableText(const std::string& folder, const cOutputPlace& place) {
  std::string why, hint = "その中に新しいフォルダーを作り、そこを出力先にしてください。";
  switch (place.problem) {
    case ePlaceProblem::NoParent: why = "ドライブやファイル システムの最上位のフォルダーです。"; break;
    case ePlaceProblem::MountPoint: why = "別のドライブ（ファイル システム）の最上位のフォルダーです。"; break;
    case ePlaceProblem::ParentNotWritable:
      why = "このフォルダーが入っているフォルダーに書き込めません: " + PathToUtf8(place.folder.parent_path());
      hint = "書き込めるフォルダーの中を出力先にしてください。";
      break;
    case ePlaceProblem::None: break;
  }
  return "出力先のフォルダーを新しいページと入れ替えられないため、何も変更せずに終了します。" + kCrLf + why + kCrLf +
         kCrLf + "出力先: " + folder + kCrLf + hint;
}

std::string FailureText(const std::string& what, const fs::path& file, int number) {
  return WithErrorCode(what + kCrLf + PathToUtf8(file) + kCrLf + ErrorText(number), number);
}

std::string NoDesktopText() {
  return "このアカウントにはホーム フォルダーがないため、デスクトップに「" + kOutputFolderName +
         "」フォルダーを作れません。何も変更せずに終了します。" + kCrLf + "出力先のフォルダーを --output で指定してください。";
}

std::string UnrecoveredText() {
  return "以前に途中で止まった変換が出力先のフォルダーの横に残したものを片付けられないため、何もせずに終了します。" + kCrLf +
         "ページが隠れたままのことがあります。";
}

std::string HistoryFolderText() {
  return "過去の期のファイルを探すフォルダーを読み取れないため、何も変更せずに終了します。";
}

// Up to five of what stayed behind, one per line.
std::string LeftoversText(const std::vector<cFileFailure>& leftovers) {
  std::string text = "新しいページに入れ替えましたが、以前のページの一部を片付けられませんでした。" + kCrLf +
                     "次に変換するときに、もう一度片付けます。" + kCrLf;
  for (std::size_t i = 0; i < leftovers.size() && i < 5; ++i) text += kCrLf + leftovers[i].what();
  if (leftovers.size() > 5) text += kCrLf + "ほか " + std::to_string(leftovers.size() - 5) + " 件";
  return text;
}

// Marks a download or the conversion as running for as long as it is in scope.
class cRunningScope {
 public:
  explicit cRunningScope(bool& flag) : m_Flag(flag) { m_Flag = true; }
  ~cRunningScope() { m_Flag = false; }
  cRunningScope(const cRunningScope&) = delete;
  cRunningScope& operator=(const cRunningScope&) = delete;

 private:
  bool& m_Flag;
};

}  // namespace

int ExitStatus(eStartOutcome outcome) {
  switch (outcome) {
    case eStartOutcome::NotFound:
    case eStartOutcome::NotAFanFile:
    case eStartOutcome::Unplaceable:
    case eStartOutcome::DownloadFailed:
    case eStartOutcome::ConversionFailed:
    case eStartOutcome::Unrecovered:
      return 1;
    case eStartOutcome::Refused:
      return 2;
    default:
      return 0;
  }
}

frmMain::frmMain(cWindowServices& window, cFormWindow& form, cShellServices& shell, cSiteFactory sites,
                 cFanDownloader* downloader, cFileSystem& files)
    : m_Window(window),
      m_Form(form),
      m_Shell(shell),
      m_Sites(std::move(sites)),
      m_Downloader(downloader),
      m_Files(files),
      m_Export(window, form, shell, files, [this](const std::vector<cSkippedFile>& skipped) { TellSkipped(skipped); }) {}

eStartOutcome frmMain::Form_Load(const cCommandLine& cmd) {
  try {
    return Start(cmd);
  } catch (const cInterrupted&) {
    throw;  // the staging folder is gone; main ends the program as the signal asked
  } catch (const std::exception& e) {
    // Out of memory or anything else unforeseen: told, and the old site stays.
    m_Window.MsgBox(UnexpectedText(e.what(), m_Swapped), MsgButtons::OK, MsgIcon::Exclamation, kAppTitle);
    return eStartOutcome::ConversionFailed;
  }
}

eStartOutcome frmMain::Start(const cCommandLine& cmd) {
  if (cmd.exportTable) {  // the table goes beside the fan file: the output folder is neither touched nor shown
    if (!m_Export.TargetIsUsable(cmd)) return eStartOutcome::Unplaceable;
  } else {
    if (!SetOutputFolder(cmd)) return eStartOutcome::Unplaceable;
    if (!RecoverOutputFolder()) return eStartOutcome::Unrecovered;
  }
  m_Extras = cmd.extras;
  if (cmd.download) return StartWithDownload(cmd);
  if (cmd.argText.empty()) return StartWithoutFile(cmd);
  return StartWithFile(cmd);
}

bool frmMain::Form_QueryUnload() {
  // The racer pages still read the racer data: the window closes when the run ends.
  if (m_Converting) return false;
  // The user wants no more: the download stops as it does for Ctrl-C, and the program ends.
  if (m_Downloading) RequestStop(kWindowClosed);
  m_SensyuFile.reset();
  return true;
}

fs::path frmMain::RosterPage() const { return m_OutputFolder / PathFromUtf8(kRosterPageName); }

// Without a desktop the folder would land at the root of the drive: the
// start is refused instead, naming why.
bool frmMain::SetOutputFolder(const cCommandLine& cmd) {
  if (cmd.outputFolder) {
    m_OutputFolder = NormalFolderPath(*cmd.outputFolder);
    m_OutputNamed = PathToUtf8(*cmd.outputFolder);
    return true;
  }
  const std::string desktop = m_Shell.GetDesktopPath();
  if (desktop.empty()) {
    m_Window.MsgBox(NoDesktopText(), MsgButtons::OK, MsgIcon::Exclamation, kAppTitle);
    return false;
  }
  m_OutputFolder = PathFromUtf8(desktop) / PathFromUtf8(kOutputFolderName);
  m_OutputNamed = PathToUtf8(m_OutputFolder);
  return true;
}

// As the user wrote it (a Windows path with its own separators), and where
// that is when it was written relative to the current folder.
std::string frmMain::ShownOutput() const {
  if (PathFromUtf8(m_OutputNamed).is_absolute()) return m_OutputNamed;
  return m_OutputNamed + "（" + PathToUtf8(m_OutputFolder) + "）";
}

// What the output folder's name leads to; Other when it cannot be looked at.
eEntryKind frmMain::KindOf(const fs::path& path) {
  try {
    return m_Files.Look(path).kind;
  } catch (const cFileFailure&) {
    return eEntryKind::Other;
  }
}

// Every start looks at the output folder, or will write it: a site a killed
// run left aside must be back first, or the start would not find it.
bool frmMain::RecoverOutputFolder() {
  try {
    cSiteStaging(m_Files, ResolveOutputPlace(m_Files, m_OutputFolder).folder).PutRight([this] { ShowWaiting(); });
    return true;
  } catch (const cFileFailure& e) {
    m_Window.MsgBox(FailureText(UnrecoveredText(), e.File(), e.Errno()), MsgButtons::OK, MsgIcon::Exclamation,
                    kAppTitle);
    return false;
  }
}

void frmMain::ShowWaiting() {
  m_Window.SetLabel(ProgressLabel::Message, "別の変換が終わるのを待っています ...");
  m_Window.DoEvents();
}

eStartOutcome frmMain::StartWithoutFile(const cCommandLine& cmd) {
  if (m_Shell.FolderExists(m_OutputFolder)) {
    if (!cmd.noOpen) OpenRosterPage();
    return eStartOutcome::Reopened;
  }
  // Yes fetches the newest period's archive and converts it, as --download does.
  if (m_Window.MsgBox(UsageText(), MsgButtons::YesNo, MsgIcon::Information, kAppTitle) == MsgResult::Yes)
    return StartWithDownload(cmd);
  return eStartOutcome::ShowedUsage;
}

// The downloaded archive then goes the way of a file the user named.
eStartOutcome frmMain::StartWithDownload(const cCommandLine& cmd) {
  m_Form.ShowAtTopLeft();  // the labels count the kilobytes received
  std::optional<fs::path> archive;
  std::vector<fs::path> older;
  try {
    archive = Download(cmd.downloadPeriod);
    if (archive && cmd.history) older = DownloadOlderPeriods(*archive, cmd.historyPeriods);
  } catch (const cInterrupted& e) {
    if (e.Signal() != kWindowClosed) throw;
    return eStartOutcome::Closed;  // the window is gone: it is not shown again
  }
  if (!archive) return eStartOutcome::DownloadFailed;
  cCommandLine next = cmd;
  next.argText = PathToUtf8(*archive);
  return StartWithFile(next, cmd.history ? &older : nullptr);
}

// An archive already in the download folder is taken when it reads whole, a
// damaged one is fetched again; the first period that cannot be downloaded
// ends the search (the downloader told why), and the newest is converted
// with the periods at hand.
std::vector<fs::path> frmMain::DownloadOlderPeriods(const fs::path& newest, int count) {
  std::vector<fs::path> archives;
  for (const std::string& period : PeriodsBefore(ArchivePeriod(PathToUtf8(newest.filename())), count - 1)) {
    std::optional<fs::path> archive = SoundArchiveBeside(newest.parent_path(), period);
    if (!archive) archive = Download(period);
    if (!archive) break;
    archives.push_back(*archive);
  }
  return archives;
}

// "fanYYMM.lzh", then the copies a download saved beside a different file of
// that name: "fanYYMM (1).lzh", "(2)" and on.
std::optional<fs::path> frmMain::SoundArchiveBeside(const fs::path& folder, const std::string& period) {
  for (int copy = 0;; ++copy) {
    const fs::path kept = folder / PathFromUtf8(NumberedName("fan" + period + ".lzh", copy));
    if (!m_Shell.PlainFileExists(kept)) return std::nullopt;
    if (ReadFanInput(kept).failure == eFanInputFailure::None) return kept;
  }
}

// Ctrl-C, a termination request or closing the window while fetching ends the program with nothing saved.
std::optional<fs::path> frmMain::Download(const std::string& period) {
  cInterruptScope interruptible;
  cRunningScope downloading(m_Downloading);
  std::optional<fs::path> archive;
  if (m_Downloader) archive = m_Downloader->Download(period, m_Window);
  ThrowIfInterrupted();  // asked during the save or a failure's box: the next scope would forget it
  return archive;
}

eStartOutcome frmMain::StartWithFile(const cCommandLine& cmd, const std::vector<fs::path>* downloaded) {
  if (!m_Shell.PlainFileExists(PathFromUtf8(cmd.argText))) {
    const bool historyWord = cmd.history && cmd.historyFolder.empty() && !downloaded &&
                             (cmd.argText.find(' ') != std::string::npos || m_Shell.FolderExists(PathFromUtf8(cmd.argText)));
    m_Window.MsgBox(NotFoundText(cmd.argText) + (historyWord ? HistoryWordText() : ""), MsgButtons::OK, MsgIcon::None,
                    kAppTitle);
    return eStartOutcome::NotFound;
  }
  // Read before anything on disk is touched: a file that is no fan file must
  // not cost the user the site they have.
  const std::optional<std::string> bytes = ReadInput(cmd.argText);
  if (!bytes) return eStartOutcome::NotAFanFile;
  std::optional<cHistoryFiles> older;
  if (cmd.history) older = downloaded ? cHistoryFiles{*downloaded, {}, 0} : HistoryCandidates(cmd);
  if (cmd.history && !older) return eStartOutcome::NotFound;
  if (cmd.exportTable) {
    cRunningScope exporting(m_Converting);  // the window stays until the table is written
    return m_Export.Run(cmd, *bytes, older ? &*older : nullptr);
  }
  m_Place = ResolveOutputPlace(m_Files, m_OutputFolder);
  if (!OutputPlaceIsUsable()) return eStartOutcome::Unplaceable;
  if (!OutputFolderIsOurs()) return eStartOutcome::Refused;
  if (!cmd.assumeYes &&
      m_Window.MsgBox(ConfirmText(cmd.argText), MsgButtons::YesNo, MsgIcon::Question, kAppTitle) == MsgResult::No)
    return eStartOutcome::Declined;
  return Convert(cmd.argText, *bytes, cmd.noOpen, older ? &*older : nullptr);
}

// A history folder the user named wrongly would give pages without the
// periods asked for: the run stops before anything is touched.
std::optional<cHistoryFiles> frmMain::HistoryCandidates(const cCommandLine& cmd) {
  const fs::path input = PathFromUtf8(cmd.argText);
  fs::path folder = cmd.historyFolder.empty() ? input.parent_path() : cmd.historyFolder;
  if (folder.empty()) folder = ".";
  cHistoryFiles listed = ListHistoryFiles(m_Files, folder, input);
  if (listed.errorNumber == 0) return listed;
  m_Window.MsgBox(FailureText(HistoryFolderText(), folder, listed.errorNumber), MsgButtons::OK, MsgIcon::Exclamation,
                  kAppTitle);
  return std::nullopt;
}

std::optional<std::string> frmMain::ReadInput(const std::string& strFileName) {
  cFanInput input = ReadFanInput(PathFromUtf8(strFileName));
  if (input.failure == eFanInputFailure::None) return std::move(input.bytes);
  const bool unreadable = input.failure == eFanInputFailure::Unreadable;
  m_Window.MsgBox(unreadable ? UnreadableText(strFileName, input) : RefusedInputText(strFileName, input),
                  MsgButtons::OK, MsgIcon::Exclamation, kAppTitle);
  return std::nullopt;
}

// The folder is replaced whole: only when it holds nothing but our site.
bool frmMain::OutputFolderIsOurs() {
  const cFolderCheck check = CheckOutputFolder(m_Files, m_Place.folder);
  if (check.ok) return true;
  if (check.stranger == m_Place.folder) {
    m_Window.MsgBox(NotAFolderText(ShownOutput(), KindOf(m_Place.folder)), MsgButtons::OK, MsgIcon::Exclamation,
                    kAppTitle);
    return false;
  }
  // Named the way the user reaches it, through a link to the folder too.
  const fs::path within = check.stranger.lexically_relative(m_Place.folder);
  const fs::path shown = within.empty() || *within.begin() == ".." ? check.stranger : PathFromUtf8(m_OutputNamed) / within;
  m_Window.MsgBox(RefusedOutputText(ShownOutput(), PathToUtf8(shown.lexically_normal())), MsgButtons::OK,
                  MsgIcon::Exclamation, kAppTitle);
  return false;
}

bool frmMain::OutputPlaceIsUsable() {
  if (m_Place.problem == ePlaceProblem::None) return true;
  m_Window.MsgBox(UnplaceableText(ShownOutput(), m_Place), MsgButtons::OK, MsgIcon::Exclamation, kAppTitle);
  return false;
}

eStartOutcome frmMain::Convert(const std::string& strFileName, const std::string& bytes, bool noOpen,
                               const cHistoryFiles* older) {
  m_Swapped = false;
  std::optional<cPeriodHistory> history;
  {
    cRunningScope converting(m_Converting);
    m_Window.SetLabel(ProgressLabel::Message, "");
    m_Window.SetLabel(ProgressLabel::Counter, "");
    m_Form.ShowAtTopLeft();
    cInterruptScope interruptible;
    cInterruptibleWindow window(m_Window);
    if (older) history = LoadPeriodHistory(older->files, FanFilePeriod(bytes), window, older->passedOver);
    cSiteStaging staging(m_Files, m_Place.folder);
    if (!ConvertIntoStaging(strFileName, bytes, staging, history ? &*history : nullptr))
      return eStartOutcome::ConversionFailed;
    TellLeftovers(staging);
  }
  TellDamagedRecords();
  if (history) TellSkipped(history->Skipped());
  if (!noOpen) OpenRosterPage();
  return eStartOutcome::Converted;
}

bool frmMain::ConvertIntoStaging(const std::string& strFileName, const std::string& bytes, cSiteStaging& staging,
                                 const cPeriodHistory* history) {
  if (!InitOutputFolder(staging)) return false;
  const std::unique_ptr<cSiteFolder> site = m_Sites(staging.Folder());
  cInterruptibleWindow window(m_Window);
  if (!ConvertFanFile(strFileName, bytes, *site, window, lstName, m_SensyuFile, history, m_Extras)) return false;
  return SwapIn(*site, staging);
}

bool frmMain::SwapIn(cSiteFolder& site, cSiteStaging& staging) {
  try {
    site.Flush();
    ThrowIfInterrupted();
    staging.Commit();
  } catch (const cFileFailure& e) {
    std::string text = FailureText("ファイルを書き込めません。", e.File(), e.Errno());
    if (!staging.Stranded().empty())
      text += kCrLf + kCrLf + "以前のページは次のフォルダーにあり、次に変換するときに元の場所に戻します: " +
              PathToUtf8(staging.Stranded());
    m_Window.MsgBox(text, MsgButtons::OK, MsgIcon::Exclamation, kAppTitle);
    return false;
  }
  m_Swapped = true;
  staging.RemoveOld();
  return true;
}

// Files that are no older period never fail the run; the user learns which were left out.
void frmMain::TellSkipped(const std::vector<cSkippedFile>& skipped) {
  if (skipped.empty()) return;
  std::vector<std::string> lines;
  for (const cSkippedFile& file : skipped) lines.push_back("過去の期から除きました: " + SkippedLine(file));
  m_Window.TellPassedOver(SkippedSummary(skipped), lines);
}

// The site is complete and is what the file holds; the user learns which
// records it could read only in part.
void frmMain::TellDamagedRecords() {
  const std::vector<cDamagedRecord>& damaged = m_SensyuFile->DamagedRecords();
  if (!damaged.empty()) m_Window.TellPassedOver(LoadReportText(damaged), LoadReportLines(damaged));
}

void frmMain::TellLeftovers(const cSiteStaging& staging) {
  if (staging.Leftovers().empty()) return;
  m_Window.MsgBox(LeftoversText(staging.Leftovers()), MsgButtons::OK, MsgIcon::Exclamation, kAppTitle);
}

// The old site stays until the new one is complete: what is prepared here is
// the folder the new one is built in, beside it.
bool frmMain::InitOutputFolder(cSiteStaging& staging) {
  m_Window.SetLabel(ProgressLabel::Message, "初期化しています ...");
  m_Window.DoEvents();
  // A fresh account may have no desktop folder yet.
  m_Shell.CreateFolders(m_Place.folder.parent_path());
  try {
    staging.Begin([this] { ShowWaiting(); });
  } catch (const cFileFailure& e) {
    // Named as the user knows it, then what could not be made beside it.
    m_Window.MsgBox(WithErrorCode("フォルダを作成できません。" + kCrLf + ShownOutput() + kCrLf +
                                      e.what(), e.Errno()),
                    MsgButtons::OK, MsgIcon::Exclamation, kAppTitle);
    return false;
  }
  return true;
}

int32_t frmMain::ShellOpen(const std::string& file, const std::string& params, const std::string& dir) {
  return m_Shell.ShellOpen(file, params, dir);
}

void frmMain::OpenRosterPage() { ShellOpen(PathToUtf8(RosterPage()), "", PathToUtf8(m_OutputFolder)); }
