// The data out as `tobirex --export` makes it: the fan file read once, the
// older periods listed and loaded (with --history), the table made in memory
// and written whole beside its place, flushed, and given its name. Argument 0
// writes CSV, 1 SQLite. The sample's export is to take no longer than its
// conversion to a site (BM_ConvertSample); the eight periods' at most 2 s.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "bench/QuietWindow.h"
#include "bench/SampleWithHistory.h"
#include "platform/FileRead.h"
#include "platform/NewFile.h"
#include "platform/Path.h"
#include "report/ExportFanData.h"

namespace fs = std::filesystem;

namespace {

bool Export(const std::string& input, eTableFormat format, bool withHistory, const fs::path& folder) {
  cQuietWindow window;
  const std::string bytes = ReadWholeFile(PathFromUtf8(input));
  std::optional<cPeriodHistory> history;
  if (withHistory) {
    const cHistoryFiles files = ListHistoryFiles(PathFromUtf8(input).parent_path(), PathFromUtf8(input));
    history = LoadPeriodHistory(files.files, FanFilePeriod(bytes), window);
    if (history->Periods().size() != kOlderPeriods) return false;
  }
  const std::optional<std::string> table = ExportFanData(format, input, bytes, history ? &*history : nullptr, window);
  if (!table) return false;
  cNewFile file(folder, ".bench-export-", *table);
  file.ReplaceAs(folder / (format == eTableFormat::Csv ? "table.csv" : "table.db"));
  return true;
}

void ExportRun(benchmark::State& state, const std::string& input, bool withHistory) {
  const fs::path folder = fs::temp_directory_path() / ("tobirex_bench_export_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const auto format = state.range(0) == 0 ? eTableFormat::Csv : eTableFormat::Sqlite;
  state.SetLabel(format == eTableFormat::Csv ? "csv" : "sqlite");
  for (auto _ : state) {
    if (!Export(input, format, withHistory, folder)) {
      state.SkipWithError("export failed");
      break;
    }
  }
  fs::remove_all(folder);
}

void BM_ExportSample(benchmark::State& state) { ExportRun(state, SAMPLE_FILE, false); }
void BM_ExportSampleWithHistory(benchmark::State& state) { ExportRun(state, SampleWithHistory(), true); }

}  // namespace

BENCHMARK(BM_ExportSample)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportSampleWithHistory)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
