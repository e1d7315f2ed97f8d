#include "app/ExportRun.h"

#include <optional>

#include "app/InterruptibleWindow.h"
#include "app/frmMain.h"
#include "platform/ErrorText.h"
#include "platform/FileSystem.h"
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

// False also when either cannot be looked at (the table is mostly not there yet).
bool SameFile(cFileSystem& files, const fs::path& a, const fs::path& b) {
  try {
    return files.Canonical(a) == files.Canonical(b);
  } catch (const cFileFailure&) {
    return false;
  }
}

eEntryKind KindAt(cFileSystem& files, const fs::path& path, bool throughLinks) {
  try {
    return (throughLinks ? files.LookThrough(path) : files.Look(path)).kind;
  } catch (const cFileFailure&) {
    return eEntryKind::Other;  // there, but not to be looked at: no file to replace
  }
}

}  // namespace

cExportRun::cExportRun(cWindowServices& window, cFormWindow& form, cShellServices& shell, cFileSystem& files,
                       cTellSkipped tellSkipped)
    : m_Window(window), m_Form(form), m_Shell(shell), m_Files(files), m_TellSkipped(std::move(tellSkipped)) {}

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
  fs::path target = cmd.exportFile.empty() ? fs::path(input).replace_extension(".csv") : cmd.exportFile;
  try {
    // Whole, as the desktop's program for CSV is handed it and the user is told it.
    target = m_Files.Canonical(FolderOf(target)) / target.filename();
  } catch (const cFileFailure&) {
    // Named as given; placing it will tell what is wrong with its folder.
  }
  if (SameFile(m_Files, target, input)) {
    Refuse("書き出し先が読み込むファン手帳ファイルと同じです。", target);
    return std::nullopt;
  }
  if (KindAt(m_Files, target, false) != eEntryKind::Missing && KindAt(m_Files, target, true) != eEntryKind::File) {
    Refuse("書き出し先にファイルではないもの（フォルダーなど）があります。", target);
    return std::nullopt;
  }
  return target;
}

// A table file left by an earlier export in the history folder is no older period.
std::vector<fs::path> cExportRun::Without(std::vector<fs::path> older, const fs::path& table) {
  std::erase_if(older, [&](const fs::path& file) { return SameFile(m_Files, file, table); });
  return older;
}

eStartOutcome cExportRun::Run(const cCommandLine& cmd, const std::string& bytes, const std::vector<fs::path>* older) {
  const std::optional<fs::path> target = Target(cmd);
  if (!target) return eStartOutcome::Unplaceable;
  const bool replace = KindAt(m_Files, *target, false) != eEntryKind::Missing;
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
