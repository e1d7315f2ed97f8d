#include "report/ExportFanData.h"

#include <algorithm>
#include <cctype>

#include "platform/Path.h"
#include "sensyu/FanInput.h"

namespace fs = std::filesystem;

namespace {

bool LoadFanBytes(cSensyuFile& sensyu, std::string_view bytes) {
  cSensyuNoList list = NumericKeys(bytes);
  return sensyu.LoadBytes(bytes, list);
}

// The history kept each older period's few figures; the table takes every
// field, so the file is read again and must still be of the period it was.
bool AddOlderPeriod(cTableWriter& table, const cHistoryPeriod& period, cWindowServices& window) {
  const cFanInput input = ReadFanInput(period.file);
  cSensyuFile sensyu(window);
  if (input.failure != eFanInputFailure::None || !LoadFanBytes(sensyu, input.bytes) ||
      cFanPeriod{sensyu.Nen(), sensyu.Ki()} != period.period) {
    window.MsgBox("過去の期のファイルが読み込んだ後で変わったため、書き出せません。\r\n" + PathToUtf8(period.file),
                  MsgButtons::OK, MsgIcon::Exclamation, kAppTitle);
    return false;
  }
  table.AddPeriod(sensyu, eRecordLayout::Current, PathToUtf8(period.file.filename()));
  return true;
}

}  // namespace

std::optional<eTableFormat> TableFormatOf(const fs::path& file) {
  std::string extension = PathToUtf8(file.extension());
  std::ranges::transform(extension, extension.begin(), [](unsigned char c) { return std::tolower(c); });
  if (extension == ".csv") return eTableFormat::Csv;
  if (extension == ".sqlite" || extension == ".db") return eTableFormat::Sqlite;
  return std::nullopt;
}

std::unique_ptr<cTableWriter> MakeTableWriter(eTableFormat format) {
  return format == eTableFormat::Csv ? MakeCsvTable() : MakeSqliteTable();
}

std::optional<std::string> ExportFanData(eTableFormat format, const std::string& strFileName, std::string_view bytes,
                                         const cPeriodHistory* history, cWindowServices& window) {
  window.SetLabel(ProgressLabel::Message, "書き出しています ...");
  window.DoEvents();
  const std::unique_ptr<cTableWriter> table = MakeTableWriter(format);
  {
    cSensyuFile sensyu(window);
    if (!LoadFanBytes(sensyu, bytes)) return std::nullopt;
    table->AddPeriod(sensyu, eRecordLayout::Current, PathToUtf8(PathFromUtf8(strFileName).filename()));
  }
  const std::size_t older = history ? history->Periods().size() : 0;
  for (std::size_t i = 0; i < older; ++i) {
    window.SetProgress(static_cast<int>(i), static_cast<int>(older));
    window.DoEvents();
    if (!AddOlderPeriod(*table, history->Periods()[i], window)) return std::nullopt;
  }
  return table->Finish();
}
