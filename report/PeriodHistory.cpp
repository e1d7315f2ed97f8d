#include "report/PeriodHistory.h"

#include <algorithm>
#include <numeric>

#include "platform/Path.h"
#include "report/Format.h"
#include "sensyu/FanInput.h"
#include "sensyu/FanLines.h"
#include "sensyu/cSensyuFile.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kSummaryLines = 10;

// The loader's boxes become the reason a file is skipped: an older period
// never stops the run.
class cLoadMessages : public cWindowServices {
 public:
  MsgResult MsgBox(const std::string& text, MsgButtons, MsgIcon, const std::string&) override {
    m_Text = text;
    return MsgResult::OK;
  }
  void SetLabel(ProgressLabel, const std::string&) override {}
  void DoEvents() override {}
  std::string m_Text;
};

std::string OneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\r', ' ');
  std::erase(text, '\n');
  return text;
}

cSkippedFile Refused(const fs::path& file, const cFanInput& input) {
  switch (input.failure) {
    case eFanInputFailure::Unreadable:
      return {file, eHistorySkip::Unreadable, "読み込めません（" + input.reason + "）"};
    case eFanInputFailure::DamagedArchive:
      return {file, eHistorySkip::DamagedArchive, "アーカイブが壊れているか、途中で切れています"};
    case eFanInputFailure::TooLarge:
      return {file, eHistorySkip::NotFanFile, "64 MiB を超えています"};
    case eFanInputFailure::NoFanMember:
      return {file, eHistorySkip::NotFanFile, "ファン手帳ファイルの入っていないアーカイブです"};
    default:
      return {file, eHistorySkip::NotFanFile, "ファン手帳ファイルではありません"};
  }
}

bool IsPeriod(cFanPeriod period) { return period.nen > 0 && (period.ki == 1 || period.ki == 2); }

std::string LabelOf(cFanPeriod period) { return std::to_string(period.nen) + "年" + GetKiName(period.ki) + "期"; }

}  // namespace

cSensyuNoList NumericKeys(std::string_view bytes) {
  cSensyuNoList list;
  for (std::string_view line : SplitLines(bytes)) {
    std::string key = LineKey(line);
    if (IsNumericText(key)) list.push_back(std::move(key));
  }
  if (list.empty()) list.push_back("");  // the loader then matches nothing
  return list;
}

std::span<const cPeriodRow> cPeriodHistory::Rows(const std::string& no) const {
  const auto found = m_Rows.find(no);
  if (found == m_Rows.end()) return {};
  return found->second;
}

cPeriodFigures PeriodFiguresOf(const cSensyuFile& s, const std::string& no) {
  return {s.Class(no),          s.Syoritu(no),        s.FSyoritu(no),     s.StartTiming(no), s.SyussoTimes(no),
          s.OneFinishTimes(no), s.TwoFinishTimes(no), s.YusyutuTimes(no), s.YusyoTimes(no),  s.Ability(no)};
}

// The conversion takes the period from its last racer's record: that record
// alone gives the same period whenever it carries one, at a fraction of the
// cost; only otherwise is every record loaded.
cFanPeriod FanFilePeriod(std::string_view bytes) {
  cLoadMessages messages;
  cSensyuFile sensyu(messages);
  cSensyuNoList list = NumericKeys(bytes);
  cSensyuNoList last{list.back()};
  if (sensyu.LoadBytes(bytes, last) && IsPeriod({sensyu.Nen(), sensyu.Ki()})) return {sensyu.Nen(), sensyu.Ki()};
  if (!sensyu.LoadBytes(bytes, list)) return {};
  return {sensyu.Nen(), sensyu.Ki()};
}

cHistoryFiles ListHistoryFiles(const fs::path& folder, const fs::path& except) {
  cHistoryFiles result;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code ignored;
    if (!it->is_regular_file(ignored) || fs::equivalent(it->path(), except, ignored)) continue;
    result.files.push_back(it->path());
  }
  if (ec) return {{}, ec.value()};
  std::ranges::sort(result.files, {}, [](const fs::path& p) { return PathToUtf8(p); });
  return result;
}

cPeriodHistory LoadPeriodHistory(const std::vector<fs::path>& candidates, cFanPeriod current, cWindowServices& window) {
  cPeriodHistory history;
  window.SetLabel(ProgressLabel::Message, "過去の期のファイルを読み込んでいます ...");
  const int count = static_cast<int>(candidates.size());
  for (int i = 0; i < count; ++i) {
    window.SetProgress(i, count);
    window.DoEvents();
    const fs::path& file = candidates[static_cast<std::size_t>(i)];
    cFanInput input = ReadFanInput(file);
    if (input.failure != eFanInputFailure::None) {
      history.m_Skipped.push_back(Refused(file, input));
      continue;
    }
    cLoadMessages messages;
    cSensyuFile sensyu(messages);
    cSensyuNoList list = NumericKeys(input.bytes);
    if (!sensyu.LoadBytes(input.bytes, list)) {
      history.m_Skipped.push_back({file, eHistorySkip::LoadFailed, OneLine(messages.m_Text)});
      continue;
    }
    input.bytes = {};
    const cFanPeriod period{sensyu.Nen(), sensyu.Ki()};
    if (!IsPeriod(period)) {
      history.m_Skipped.push_back({file, eHistorySkip::NoPeriod, "期（年と前期・後期）が読み取れません"});
      continue;
    }
    if (period >= current) {
      history.m_Skipped.push_back({file, eHistorySkip::NotOlder,
                                   LabelOf(period) + "：変換する期（" + LabelOf(current) + "）より前ではありません"});
      continue;
    }
    const auto same = std::ranges::find(history.m_Periods, period, &cHistoryPeriod::period);
    if (same != history.m_Periods.end()) {
      history.m_Skipped.push_back({file, eHistorySkip::DuplicatePeriod,
                                   LabelOf(period) + "：" + PathToUtf8(same->file.filename()) + " と同じ期です"});
      continue;
    }
    const auto index = static_cast<uint16_t>(history.m_Periods.size());
    history.m_Periods.push_back({period, sensyu.GetSensyuFileVersion(), file});
    for (const std::string& no : list) {
      std::vector<cPeriodRow>& rows = history.m_Rows[no];
      // A number listed twice has its figures from its first record, as its page does.
      if (rows.empty() || rows.back().period != index) rows.push_back({index, PeriodFiguresOf(sensyu, no)});
    }
  }
  window.SetProgress(count, count);

  // Newest first: the periods, then each racer's rows by the periods' new places.
  std::vector<uint16_t> order(history.m_Periods.size());
  std::iota(order.begin(), order.end(), uint16_t{0});
  std::ranges::sort(order, std::greater{}, [&](uint16_t i) { return history.m_Periods[i].period; });
  std::vector<uint16_t> place(order.size());
  std::vector<cHistoryPeriod> sorted;
  for (uint16_t p = 0; p < order.size(); ++p) {
    place[order[p]] = p;
    sorted.push_back(std::move(history.m_Periods[order[p]]));
  }
  history.m_Periods = std::move(sorted);
  for (auto& [no, rows] : history.m_Rows) {
    for (cPeriodRow& row : rows) row.period = place[row.period];
    std::ranges::sort(rows, {}, &cPeriodRow::period);
  }
  return history;
}

std::string SkippedLine(const cSkippedFile& skipped) {
  return PathToUtf8(skipped.file.filename()) + ": " + skipped.reason;
}

std::string SkippedSummary(const std::vector<cSkippedFile>& skipped) {
  std::string text = "次のファイルは過去の期として読み込みませんでした。\r\n";
  for (std::size_t i = 0; i < skipped.size() && i < kSummaryLines; ++i) text += "\r\n" + SkippedLine(skipped[i]);
  if (skipped.size() > kSummaryLines) text += "\r\nほか " + std::to_string(skipped.size() - kSummaryLines) + " 件";
  return text;
}
