// Loading a fan handbook file and reading every racer property the way the
// pages do: one lookup by racer number per value. Items are racers, so
// items_per_second and per_racer compare the sample with a file at the
// 16-bit racer limit.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "bench/GeneratedSample.h"
#include "bench/QuietWindow.h"
#include "sensyu/cSensyuFile.h"

namespace {

constexpr int kLimitRacers = 32766;  // the most racers a file may hold

double ReadCourse(const cSensyuFile& f, const std::string& no, int16_t c) {
  double sum = f.CourseSyussoTimes(no, c) + f.CourseFSyoritu(no, c) + f.CourseStartTiming(no, c) +
               f.CourseStartHatujyun(no, c) + f.CourseRentairitu3(no, c);
  sum += f.Course1FinishTimes(no, c) + f.Course2FinishTimes(no, c) + f.Course3FinishTimes(no, c) +
         f.Course4FinishTimes(no, c) + f.Course5FinishTimes(no, c) + f.Course6FinishTimes(no, c);
  sum += f.CourseF0Times(no, c) + f.CourseL0Times(no, c) + f.CourseL1Times(no, c) + f.CourseK0Times(no, c) +
         f.CourseK1Times(no, c) + f.CourseS0Times(no, c) + f.CourseS1Times(no, c) + f.CourseS2Times(no, c);
  return sum;
}

double ReadProfile(const cSensyuFile& f, const std::string& no) {
  std::size_t text = f.NameKanji(no).size() + f.NameKana(no).size() + f.Branch(no).size() +
                     f.Birthplace(no).size() + f.Class(no).size() + f.Birth(no).size() + f.Blood(no).size();
  text += f.ClassOld1(no).size() + f.ClassOld2(no).size() + f.ClassOld3(no).size();
  const int numbers = f.Sex(no) + f.Age(no) + f.Height(no) + f.Weight(no) + f.Ability(no) + f.abilityOld(no) +
                      f.YoseiKi(no);
  return static_cast<double>(text) + numbers;
}

double ReadResults(const cSensyuFile& f, const std::string& no) {
  double sum = f.Syoritu(no) + f.FSyoritu(no) + f.StartTiming(no) + f.SyussoTimes(no) + f.OneFinishTimes(no) +
               f.TwoFinishTimes(no) + f.YusyutuTimes(no) + f.YusyoTimes(no);
  sum += f.FTimes(no) + f.LTimes(no) + f.Rentairitu1(no) + f.Rentairitu2(no) + f.Rentairitu3(no) +
         f.InSisu(no) + f.StratHatujyun(no);
  for (int16_t chaku = 0; chaku <= 6; ++chaku) sum += f.Nyuchakuritu(no, chaku);
  sum += f.OutsideCourseL0Times(no) + f.OutsideCourseL1Times(no) + f.OutsideCourseK0Times(no) +
         f.OutsideCourseK1Times(no);
  return sum;
}

double ReadEveryProperty(const cSensyuFile& f, const std::string& no) {
  double sum = ReadProfile(f, no) + ReadResults(f, no);
  for (int16_t c = 1; c <= 6; ++c) sum += ReadCourse(f, no, c);
  return sum;
}

// Walks the slots as the conversion run does, reading each racer by number.
void LoadAndRead(benchmark::State& state, const std::string& path, bool readProperties) {
  cQuietWindow window;
  std::size_t racers = 0;
  for (auto _ : state) {
    cSensyuFile file(window);
    cSensyuNoList list;
    if (!file.FileLoad(path, list)) {
      state.SkipWithError("FileLoad failed");
      break;
    }
    double sum = 0;
    const int slots = file.SlotCount();
    for (int slot = 1; readProperties && slot <= slots; ++slot)
      sum += ReadEveryProperty(file, file.SensyuNo(static_cast<int16_t>(slot)));
    benchmark::DoNotOptimize(sum);
    racers = list.size();
  }
  const auto perIteration = static_cast<double>(racers);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(racers));
  state.counters["racers"] = perIteration;
  state.counters["per_racer"] =
      benchmark::Counter(perIteration, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_LoadSample(benchmark::State& state) { LoadAndRead(state, SAMPLE_FILE, true); }
void BM_LoadGenerated(benchmark::State& state) {
  LoadAndRead(state, GeneratedSamplePath(static_cast<int>(state.range(0))), true);
}
// Loading alone, to tell the loader's share from the properties'.
void BM_LoadOnlySample(benchmark::State& state) { LoadAndRead(state, SAMPLE_FILE, false); }
void BM_LoadOnlyGenerated(benchmark::State& state) {
  LoadAndRead(state, GeneratedSamplePath(static_cast<int>(state.range(0))), false);
}

}  // namespace

BENCHMARK(BM_LoadSample)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadGenerated)->Arg(kLimitRacers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadOnlySample)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadOnlyGenerated)->Arg(kLimitRacers)->Unit(benchmark::kMillisecond);
