#pragma once
#include <cstdint>
#include <initializer_list>
#include <stdexcept>

// splitmix64 with integer-only draws: the sample must come out byte for byte
// the same on every machine and compiler, so no floating point and no
// standard-library distributions (their algorithms differ between libraries).
class cSampleRandom {
 public:
  explicit cSampleRandom(std::uint64_t seed) : m_State(seed) {}

  /// The next 64 random bits.
  std::uint64_t Next() {
    std::uint64_t z = (m_State += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

  /// A whole number from lo to hi, both included.
  int Between(int lo, int hi) {
    if (hi < lo) throw std::logic_error("empty random range");
    const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(hi) - lo + 1);
    return static_cast<int>(lo + static_cast<std::int64_t>(Next() % span));
  }

  /// True with probability perMille / 1000.
  bool Chance(int perMille) { return Between(0, 999) < perMille; }

  /// Index 0..n-1 drawn with the given non-negative weights.
  template <class Weights>
  int Pick(const Weights& weights) {
    std::int64_t total = 0;
    for (auto w : weights) total += w;
    if (total <= 0) throw std::logic_error("nothing to pick from");
    std::int64_t draw = static_cast<std::int64_t>(Next() % static_cast<std::uint64_t>(total));
    int index = 0;
    for (auto w : weights) {
      if (draw < w) return index;
      draw -= w;
      ++index;
    }
    throw std::logic_error("weighted pick fell off the end");
  }

  int Pick(std::initializer_list<int> weights) { return Pick<std::initializer_list<int>>(weights); }

 private:
  std::uint64_t m_State;
};

/// A seed for one racer: the same block and number always give the same racer.
inline std::uint64_t SampleSeed(int block, int number) {
  cSampleRandom mix(0x48617275'6D61646FULL ^ (static_cast<std::uint64_t>(block) << 32) ^
                    static_cast<std::uint64_t>(number));
  return mix.Next();
}
