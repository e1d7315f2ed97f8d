// The whole conversion run against its floor: writing the very same bytes
// into the same file tree with plain writes, in the same order, and flushing
// them to the disk as the run does before its site replaces the old one.
// Items are racers, so per_racer compares the sample with a file at the
// 16-bit racer limit. The history case converts the sample with its eight
// older periods beside it, loading them included; the extras case writes the
// sample's site with the search, rankings, course charts and race card.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "bench/GeneratedSample.h"
#include "bench/QuietWindow.h"
#include "bench/SampleWithHistory.h"
#include "report/ConvertFanFile.h"
#include "report/PeriodHistory.h"
#include "platform/SiteFolder.h"
#include "report/Format.h"
#include "sensyu/FanLines.h"
#include "platform/FileRead.h"
#include "platform/Path.h"

namespace fs = std::filesystem;

namespace {

constexpr int kLimitRacers = 32766;

fs::path SiteFolder() { return fs::temp_directory_path() / ("tobirex_bench_site_" + std::to_string(::getpid())); }

// The run as startup makes it: the file read once, the older periods in
// `history` (if any) loaded, the site written and flushed.
bool Convert(const std::string& input, const fs::path& site, const fs::path& history = {}, bool extras = false) {
  cQuietWindow window;
  cNameList lstName;
  std::shared_ptr<cSensyuFile> sensyu;
  const std::string bytes = ReadWholeFile(input);
  std::optional<cPeriodHistory> older;
  if (!history.empty()) {
    const cHistoryFiles files = ListHistoryFiles(history, PathFromUtf8(input));
    older = LoadPeriodHistory(files.files, FanFilePeriod(bytes), window);
    if (older->Periods().size() != kOlderPeriods) return false;
  }
  fs::create_directory(site);
  const std::unique_ptr<cSiteFolder> folder = DiskSiteFolder(site);
  if (!ConvertFanFile(input, bytes, *folder, window, lstName, sensyu, older ? &*older : nullptr, extras)) return false;
  folder->Flush();
  return true;
}

void FlushTree(const fs::path& site) {
  const int fd = ::open(site.c_str(), O_RDONLY | O_DIRECTORY);
  ::syncfs(fd);
  ::close(fd);
}

std::string Slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct cPlannedWrite {
  fs::path file;
  std::string bytes;
};

// The writes a conversion makes: one page per racer number in file order,
// then the roster and the index page.
std::vector<cPlannedWrite> PlanWrites(const std::string& input, const fs::path& site) {
  std::vector<cPlannedWrite> plan;
  std::set<std::string> planned;
  const std::string bytes = ReadWholeFile(input);
  for (std::string_view line : SplitLines(bytes)) {
    const std::string key = LineKey(line);
    if (!IsNumericText(key) || !planned.insert(key).second) continue;
    const fs::path page = fs::path(GetSensyuFolder(TextToInt16(key), true, site)) / (key + ".html");
    plan.push_back({page, Slurp(page)});
  }
  for (const char* name : {"ファン手帳.html", "索引.html"}) plan.push_back({site / name, Slurp(site / name)});
  return plan;
}

void PlainWrite(const cPlannedWrite& w) {
  const int fd = ::open(w.file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return;
  const ssize_t written = ::write(fd, w.bytes.data(), w.bytes.size());
  benchmark::DoNotOptimize(written);
  ::close(fd);
}

void SetRacerCounters(benchmark::State& state, std::size_t racers) {
  const auto perIteration = static_cast<double>(racers);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(racers));
  state.counters["racers"] = perIteration;
  state.counters["per_racer"] =
      benchmark::Counter(perIteration, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

std::size_t RacerLines(const std::string& input) {
  std::size_t n = 0;
  const std::string bytes = ReadWholeFile(input);
  for (std::string_view line : SplitLines(bytes)) n += IsNumericText(LineKey(line)) ? 1 : 0;
  return n;
}

// Each iteration starts from an empty output folder, as a run does after the
// old folder has been deleted, and with the previous iteration's pages already
// on disk, so that neither side pays for the other's write-back.
void StartClean(const fs::path& site) {
  fs::remove_all(site);
  ::sync();
}

void ConvertRun(benchmark::State& state, const std::string& input, const fs::path& history = {},
                bool extras = false) {
  const fs::path site = SiteFolder();
  for (auto _ : state) {
    state.PauseTiming();
    StartClean(site);
    state.ResumeTiming();
    if (!Convert(input, site, history, extras)) {
      state.SkipWithError("conversion failed");
      break;
    }
  }
  fs::remove_all(site);
  SetRacerCounters(state, RacerLines(input));
}

// The tree a conversion leaves, ready to be written again with plain writes.
struct cPlainSite {
  fs::path site;
  std::vector<fs::path> folders;
  std::vector<cPlannedWrite> plan;

  std::size_t racers = 0;
  std::size_t Racers() const { return racers; }
  void Write() const {
    fs::create_directory(site);
    for (const fs::path& f : folders) fs::create_directory(f);
    for (const cPlannedWrite& w : plan) PlainWrite(w);
    FlushTree(site);
  }
};

// Converts once into an empty folder and plans its writes; nothing when the conversion fails.
std::optional<cPlainSite> PlanPlainSite(const std::string& input, const fs::path& site) {
  StartClean(site);
  if (!Convert(input, site)) return std::nullopt;
  cPlainSite plain{site, {}, PlanWrites(input, site), RacerLines(input)};
  for (const auto& e : fs::directory_iterator(site))
    if (e.is_directory()) plain.folders.push_back(e.path());
  return plain;
}

void PlainWriteFloor(benchmark::State& state, const std::string& input) {
  const fs::path site = SiteFolder();
  const std::optional<cPlainSite> plain = PlanPlainSite(input, site);
  if (!plain) {
    state.SkipWithError("conversion failed");
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    StartClean(site);
    state.ResumeTiming();
    plain->Write();
  }
  fs::remove_all(site);
  SetRacerCounters(state, plain->Racers());
}

template <class Work>
double TimedMs(Work work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The conversion and its floor side by side in every iteration, so that the
// disk's moods (file creation on this machine's disk varies tenfold between
// minutes) fall on both alike. The iteration time is the conversion's.
void ConvertBesidePlainWrites(benchmark::State& state, const std::string& input) {
  const fs::path site = SiteFolder();
  const std::optional<cPlainSite> plain = PlanPlainSite(input, site);
  if (!plain) {
    state.SkipWithError("conversion failed");
    return;
  }
  std::vector<double> ratios;
  double convertMs = 0, plainMs = 0;
  for (auto _ : state) {
    StartClean(site);
    const double c = TimedMs([&] { Convert(input, site); });
    StartClean(site);
    const double p = TimedMs([&] { plain->Write(); });
    state.SetIterationTime(c / 1000.0);
    convertMs += c;
    plainMs += p;
    ratios.push_back(c / p);
  }
  fs::remove_all(site);
  std::sort(ratios.begin(), ratios.end());
  const auto n = static_cast<double>(state.iterations());
  const auto racers = static_cast<double>(plain->Racers());
  state.counters["plain_ms"] = plainMs / n;
  state.counters["ratio_median"] = ratios[ratios.size() / 2];
  state.counters["per_racer_us"] = convertMs / n * 1000.0 / racers;
  state.counters["plain_per_racer_us"] = plainMs / n * 1000.0 / racers;
}

void BM_ConvertSample(benchmark::State& state) { ConvertRun(state, SAMPLE_FILE); }
void BM_PlainWriteSample(benchmark::State& state) { PlainWriteFloor(state, SAMPLE_FILE); }
void BM_ConvertSampleWithHistory(benchmark::State& state) {
  const std::string& input = SampleWithHistory();
  ConvertRun(state, input, PathFromUtf8(input).parent_path());
}
// Listing and loading the eight older periods alone: the part of the run above that the history adds before the pages.
void BM_LoadHistorySample(benchmark::State& state) {
  const std::string& input = SampleWithHistory();
  const std::string bytes = ReadWholeFile(input);
  cQuietWindow window;
  for (auto _ : state) {
    const cHistoryFiles files = ListHistoryFiles(PathFromUtf8(input).parent_path(), PathFromUtf8(input));
    const cPeriodHistory history = LoadPeriodHistory(files.files, FanFilePeriod(bytes), window);
    if (history.Periods().size() != kOlderPeriods) state.SkipWithError("older periods not loaded");
  }
  SetRacerCounters(state, RacerLines(input));
}
void BM_ConvertGenerated(benchmark::State& state) {
  ConvertRun(state, GeneratedSamplePath(static_cast<int>(state.range(0))));
}
void BM_PlainWriteGenerated(benchmark::State& state) {
  PlainWriteFloor(state, GeneratedSamplePath(static_cast<int>(state.range(0))));
}

// Processor time of every thread of the process, user and system, in ms.
double CpuMs() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  const auto ms = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
  };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The sample converted without and with the extra pages in every iteration,
// as the disk's and the machine's moods would swamp two separate runs; the
// iteration time is the run with them. ratio_median compares the time each
// took, cpu_ratio_median the processor time of all their threads, which other
// work on a busy machine disturbs less.
void BM_ConvertSampleWithExtras(benchmark::State& state) {
  const fs::path site = SiteFolder();
  std::vector<double> ratios, cpuRatios, plainCpu, extrasCpu;
  for (auto _ : state) {
    double cpu[2], ms[2];
    for (int extras = 0; extras < 2; ++extras) {
      StartClean(site);
      const double before = CpuMs();
      ms[extras] = TimedMs([&] { Convert(SAMPLE_FILE, site, {}, extras == 1); });
      cpu[extras] = CpuMs() - before;
    }
    state.SetIterationTime(ms[1] / 1000.0);
    ratios.push_back(ms[1] / ms[0]);
    cpuRatios.push_back(cpu[1] / cpu[0]);
    plainCpu.push_back(cpu[0]);
    extrasCpu.push_back(cpu[1]);
  }
  fs::remove_all(site);
  state.counters["ratio_median"] = Median(ratios);
  state.counters["cpu_ratio_median"] = Median(cpuRatios);
  state.counters["plain_cpu_ms"] = Median(plainCpu);
  state.counters["extras_cpu_ms"] = Median(extrasCpu);
}

void BM_ConvertBesidePlainSample(benchmark::State& state) { ConvertBesidePlainWrites(state, SAMPLE_FILE); }
void BM_ConvertBesidePlainGenerated(benchmark::State& state) {
  ConvertBesidePlainWrites(state, GeneratedSamplePath(static_cast<int>(state.range(0))));
}

}  // namespace

BENCHMARK(BM_ConvertBesidePlainSample)->UseManualTime()->Iterations(9)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertBesidePlainGenerated)->Arg(kLimitRacers)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertSample)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWriteSample)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertSampleWithExtras)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertSampleWithHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadHistorySample)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertGenerated)->Arg(kLimitRacers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWriteGenerated)->Arg(kLimitRacers)->Unit(benchmark::kMillisecond);
