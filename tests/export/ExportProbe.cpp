// export_probe [old2] TABLE FAN_FILE [OLDER ...]: writes the table file TABLE of
// FAN_FILE and the older periods among OLDER, as `tobirex --history --export`
// does (old2: the file alone, loaded in the older layout), then prints the
// loader's property dump of every period the table holds, newest first, each
// after a line "source=NAME".
#include <fstream>
#include <iostream>
#include <memory>

#include "platform/Path.h"
#include "report/ExportFanData.h"
#include "sensyu/FanInput.h"
#include "support/FakeWindow.h"
#include "support/PropertyDump.h"

namespace fs = std::filesystem;

namespace {

std::unique_ptr<cSensyuFile> Loaded(const std::string& bytes, int16_t intRev, cWindowServices& window) {
  auto sensyu = std::make_unique<cSensyuFile>(window);
  cSensyuNoList list = NumericKeys(bytes);
  if (!sensyu->LoadBytes(bytes, list, intRev)) throw std::runtime_error("the file does not load");
  return sensyu;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const int16_t intRev = args.at(0) == "old2" ? 2 : 0;
  if (intRev != 0) args.erase(args.begin());
  const fs::path table = PathFromUtf8(args.at(0));
  std::vector<fs::path> periods{PathFromUtf8(args.at(1))};
  const std::string bytes = ReadFanInput(periods[0]).bytes;
  cFakeWindow window;
  std::optional<std::string> out;
  if (intRev != 0) {
    const std::unique_ptr<cTableWriter> writer = MakeTableWriter(TableFormatOf(table).value());
    writer->AddPeriod(*Loaded(bytes, intRev, window), eRecordLayout::Old2, PathToUtf8(periods[0].filename()));
    out = writer->Finish();
  } else {
    const cPeriodHistory history = LoadPeriodHistory({args.begin() + 2, args.end()}, FanFilePeriod(bytes), window);
    out = ExportFanData(TableFormatOf(table).value(), args[1], bytes, &history, window);
    for (const cHistoryPeriod& period : history.Periods()) periods.push_back(period.file);
  }
  std::ofstream(table, std::ios::binary) << out.value();
  for (const fs::path& file : periods) {
    std::cout << "source=" << PathToUtf8(file.filename()) << "\n"
              << DumpRacers(*Loaded(ReadFanInput(file).bytes, intRev, window));
  }
  return 0;
}
