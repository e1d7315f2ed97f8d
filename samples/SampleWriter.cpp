#include "samples/SampleWriter.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "samples/SampleRacer.h"
#include "samples/SampleRecord.h"

namespace {

struct NumberBlock {
  int lo, hi, count;
};

constexpr int kSmallFileRacers = 2000;
constexpr int kWideLo = 1000, kWideHi = 9999;
constexpr int kBlockRacers = kWideHi - kWideLo + 1;
// The eighth racer of the file carries a name whose bytes hold 0x5C.
constexpr int kBackslashNameIndex = 7;

std::vector<NumberBlock> BlocksFor(int count) {
  if (count <= kSmallFileRacers) return {{2950, 5299, count}};
  std::vector<NumberBlock> blocks;
  for (int left = count; left > 0; left -= kBlockRacers)
    blocks.push_back({kWideLo, kWideHi, std::min(left, kBlockRacers)});
  return blocks;
}

// Selection sampling: each number is taken with the chance that leaves exactly
// `count` numbers taken when the range ends, so the gaps fall evenly.
std::vector<int> PickNumbers(const NumberBlock& block, cSampleRandom& rng) {
  std::vector<int> numbers;
  int needed = block.count;
  for (int n = block.lo; n <= block.hi && needed > 0; ++n) {
    if (rng.Between(0, block.hi - n) < needed) {
      numbers.push_back(n);
      --needed;
    }
  }
  return numbers;
}

// Lower numbers registered earlier: the training term rises along the range.
int TrainingTermOf(int number, const NumberBlock& block) {
  return kSampleFirstTerm + (number - block.lo) * (kSampleLastTerm - kSampleFirstTerm) / (block.hi - block.lo);
}

}  // namespace

void WriteSample(std::ostream& out, int count) {
  if (count < 0 || count > kSampleMaxCount) throw std::invalid_argument("racer count out of range");
  const std::vector<NumberBlock> blocks = BlocksFor(count);
  int written = 0;
  for (std::size_t b = 0; b < blocks.size(); ++b) {
    cSampleRandom picker(SampleSeed(static_cast<int>(b), 0));
    for (int number : PickNumbers(blocks[b], picker)) {
      cSampleRandom rng(SampleSeed(static_cast<int>(b), number));
      SampleRacer racer = DrawRacer(number, TrainingTermOf(number, blocks[b]), rng);
      if (written == kBackslashNameIndex) GiveBackslashName(racer);
      out << SampleRecord(racer) << "\r\n";
      ++written;
    }
  }
}

bool WriteSampleFile(const std::string& path, int count) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  WriteSample(out, count);
  out.close();
  return static_cast<bool>(out);
}
