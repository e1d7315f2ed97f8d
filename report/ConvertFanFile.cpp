#include "report/ConvertFanFile.h"

#include <cstring>
#include <limits>
#include <set>

#include "report/Format.h"
#include "report/PageFile.h"
#include "report/RacerPageRun.h"
#include "report/RosterPage.h"
#include "sensyu/FanLines.h"
#include "sensyu/RunError.h"

namespace {

// The racer numbers of the file in file order; creates each per-thousand
// folder on the way, as the racer pages will need them. A folder is looked
// at once per run: racer numbers of one thousand mostly come together.
cSensyuNoList CollectSensyuNo(std::string_view bytes, const std::filesystem::path& outputFolder) {
  cSensyuNoList list;
  std::set<int> readyFolders;
  for (std::string_view line : SplitLines(bytes)) {
    std::string key = LineKey(line);
    if (!IsNumericText(key)) continue;
    if (list.size() >= static_cast<std::size_t>(std::numeric_limits<int16_t>::max())) throw cRunError::Overflow();
    const int16_t number = TextToInt16(key);
    list.push_back(std::move(key));
    if (!readyFolders.insert(number / 1000).second) continue;
    const std::string folder = GetSensyuFolder(number, true, outputFolder);
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) CreateFolder(folder);
  }
  return list;
}

std::string RelativePagePath(const std::string& no, const std::filesystem::path& outputFolder) {
  return GetSensyuFolder(TextToInt16(no), false, outputFolder) + "\\" + no + ".html";
}

// Writes the roster page, one racer page per racer and the index page. The
// roster and the name list are filled and sorted while the pages are being
// written; the labels still count the pages as they are made.
void WriteSite(const cSensyuFile& sensyu, int16_t count, const std::filesystem::path& outputFolder,
               cWindowServices& window, cNameList& lstName) {
  cRosterPage roster(sensyu, count);
  const auto listRacers = [&] {
    for (int16_t i = 1; i <= count; ++i) {
      // A number the loader could not match has no record, no folder and no page.
      const std::string no = sensyu.SensyuNo(i);
      if (no.empty()) continue;
      const std::string path = RelativePagePath(no, outputFolder);
      roster.AddCell(no, path);
      lstName.AddItem(sensyu.NameKana(no) + "\t" + no + "\r" + path + "\r" + sensyu.NameKanji(no));
    }
    lstName.Sort();
  };
  const auto makePage = [&](int16_t i) {
    if (!sensyu.SensyuNo(i).empty()) MakeSensyuPage(sensyu, i, outputFolder);
  };
  const auto reached = [&](int16_t i) {
    window.SetLabel(ProgressLabel::Counter, CounterText(i, count));
    window.DoEvents();
  };
  MakeRacerPages(count, makePage, reached, RacerPageHelpers(count), listRacers);
  SavePage(outputFolder / "ファン手帳.html", roster.Finish());
  MakeIndexPage(static_cast<int16_t>(lstName.ListCount()), lstName, outputFolder, window);
}

void ShowFailure(cWindowServices& window, const std::string& what, const std::string& file, const std::string& reason,
                 int number) {
  window.MsgBox(what + "\r\n" + file + "\r\n" + reason + "\r\n(Error code:" + std::to_string(number) + ")",
                MsgButtons::OK, MsgIcon::Exclamation, kAppTitle);
}

}  // namespace

bool ConvertFanFile(const std::string& strFileName, const std::filesystem::path& outputFolder,
                    cWindowServices& window, cNameList& lstName, std::shared_ptr<cSensyuFile>& m_SensyuFile) {
  window.SetLabel(ProgressLabel::Message, "ファイルを変換しています ...");
  window.DoEvents();
  std::string bytes;
  try {
    bytes = ReadWholeFile(strFileName);
  } catch (const cRunError& e) {
    ShowFailure(window, "ファイルを読み込めません。", strFileName, e.what(), e.Number());
    return false;
  }
  cSensyuNoList list;
  try {
    CreateFolder(outputFolder);
    lstName.Clear();
    list = CollectSensyuNo(bytes, outputFolder);
  } catch (const cFileFailure& e) {
    ShowFailure(window, "フォルダを作成できません。", e.File().string(), std::strerror(e.Errno()), e.Errno());
    return false;
  } catch (const cRunError& e) {
    // More racer lines than a 16-bit count holds: told as the loader tells it.
    window.MsgBox(std::string(e.what()) + "\r\n(Error code:" + std::to_string(e.Number()) + ")", MsgButtons::OK,
                  MsgIcon::Exclamation, "選手ファイル読み取りエラー");
    return false;
  }
  std::string().swap(bytes);  // the loader reads the file again itself
  const auto count = static_cast<int16_t>(list.size());
  if (list.empty()) list.push_back("");  // the loader then matches nothing

  auto sensyu = std::make_shared<cSensyuFile>(window);
  m_SensyuFile = sensyu;
  if (!sensyu->FileLoad(strFileName, list, 0)) return false;
  try {
    WriteSite(*sensyu, count, outputFolder, window, lstName);
  } catch (const cFileFailure& e) {
    ShowFailure(window, "ファイルを書き込めません。", e.File().string(), std::strerror(e.Errno()), e.Errno());
    return false;
  } catch (const cRunError& e) {
    ShowFailure(window, "ページを作成できません。", strFileName, e.what(), e.Number());
    return false;
  }
  return true;
}
