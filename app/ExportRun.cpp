#include "app/ExportRun.h"

#include <optional>

#include "app/InterruptibleWindow.h"
#include "app/frmMain.h"
#include "platform/ErrorText.h"
#include "platform/NewFile.h"
#include "platform/Path.h"
#include "report/ExportFanData.h"
#include "sensyu/RunError.h"

namespace fs = std::filesystem;

namespace {

const std::string kCrLf = "\r\n";
// The table file's name while it is written; what a killed run left is removed by the next.
constexpr const char* kTemporaryPrefix = ".tobirex-export-";

fs::path FolderOf(const fs::path& file) { return file.has_parent_path() ? file.parent_path() : fs::path("."); }

bool SameFile(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec);
}

// A table file left by an earlier export in the history folder is no older period.
std::vector<fs::path> Without(std::vector<fs::path> files, const fs::path& table) {
  std::erase_if(files, [&](const fs::path& file) { return SameFile(file, table); });
  return files;
}

}  // namespace

cExportRun::cExportRun(cWindowServices& window, cFormWindow& form, cShellServices& shell, cTellSkipped tellSkipped)
    : m_Window(window), m_Form(form), m_Shell(shell), m_TellSkipped(std::move(tellSkipped)) {}

bool cExportRun::TargetIsUsable(const cCommandLine& cmd) {
  if (cmd.exportFile.empty()) return true;
  if (!TableFormatOf(cmd.exportFile)) {
    Refuse("書き出すファイルの名前は .csv（CSV）か .sqlite、.db（SQLite）で終わるようにしてください。", cmd.exportFile);
    return false;
  }
  if (!m_Shell.FolderExists(FolderOf(cmd.exportFile))) {
    Refuse("書き出し先のフォルダーがありません。", FolderOf(cmd.exportFile));
    return false;
  }
  return true;
}

void cExportRun::Refuse(const std::string& why, const fs::path& path) {
  m_Window.MsgBox(why + "何も書き出さずに終了します。" + kCrLf + kCrLf + PathToUtf8(path), MsgButtons::OK,
                  MsgIcon::Exclamation, kAppTitle);
}

std::optional<fs::path> cExportRun::Target(const cCommandLine& cmd) {
  const fs::path input = PathFromUtf8(cmd.argText);
  // Whole, as the desktop's program for CSV is handed it and the user is told it.
  const fs::path target =
      fs::absolute(cmd.exportFile.empty() ? fs::path(input).replace_extension(".csv") : cmd.exportFile);
  if (SameFile(target, input)) {
    Refuse("書き出し先が読み込むファン手帳ファイルと同じです。", target);
    return std::nullopt;
  }
  if (fs::exists(fs::symlink_status(target)) && !m_Shell.PlainFileExists(target)) {
    Refuse("書き出し先にファイルではないもの（フォルダーなど）があります。", target);
    return std::nullopt;
  }
  return target;
}

eStartOutcome cExportRun::Run(const cCommandLine& cmd, const std::string& bytes, const std::vector<fs::path>* older) {
  const std::optional<fs::path> target = Target(cmd);
  if (!target) return eStartOutcome::Unplaceable;
  const bool replace = m_Shell.PlainFileExists(*target);
  if (replace && !cmd.assumeYes &&
      m_Window.MsgBox("書き出し先のファイルはすでにあります。置き換えますか。" + kCrLf + kCrLf + PathToUtf8(*target),
                      MsgButtons::YesNo, MsgIcon::Question, kAppTitle) != MsgResult::Yes)
    return eStartOutcome::Declined;
  std::optional<cPeriodHistory> history;
  {
    m_Window.SetLabel(ProgressLabel::Message, "");
    m_Window.SetLabel(ProgressLabel::Counter, "");
    m_Form.ShowAtTopLeft();
    cInterruptScope interruptible;
    cInterruptibleWindow window(m_Window);
    if (older) history = LoadPeriodHistory(Without(*older, *target), FanFilePeriod(bytes), window);
    std::optional<std::string> table;
    try {
      table = ExportFanData(*TableFormatOf(*target), cmd.argText, bytes, history ? &*history : nullptr, window);
    } catch (const cTableFailure& e) {
      m_Window.MsgBox("書き出すデータを作れません。" + kCrLf + e.what(), MsgButtons::OK, MsgIcon::Exclamation,
                      kAppTitle);
    }
    if (!table || !Place(*target, *table, replace)) return eStartOutcome::ConversionFailed;
  }
  m_Written = *target;
  if (history) m_TellSkipped(history->Skipped());
  if (cmd.exportFile.empty() && !cmd.noOpen) {
    m_Shell.ShellOpen(PathToUtf8(*target), "", PathToUtf8(FolderOf(*target)));
  }
  return eStartOutcome::Exported;
}

// A table that appeared under the name meanwhile is not replaced unasked.
bool cExportRun::Place(const fs::path& target, const std::string& table, bool replace) {
  const fs::path folder = FolderOf(target);
  try {
    RemoveStaleNewFiles(folder, kTemporaryPrefix);
    cNewFile file(folder, kTemporaryPrefix, table);
    ThrowIfInterrupted();
    if (replace) {
      file.ReplaceAs(target);
    } else if (!file.PlaceAs(target)) {
      throw cFileFailure(target, NameTakenError());
    }
    return true;
  } catch (const cFileFailure& e) {
    m_Window.MsgBox(WithErrorCode("ファイルを書き込めません。" + kCrLf + PathToUtf8(e.File()) + kCrLf +
                                      ErrorText(e.Errno()), e.Errno()),
                    MsgButtons::OK, MsgIcon::Exclamation, kAppTitle);
    return false;
  }
}
