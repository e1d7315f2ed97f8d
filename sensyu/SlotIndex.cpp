#include "sensyu/SlotIndex.h"

#include <algorithm>
#include <atomic>
#include <bit>

namespace {

// The length and up to seven bytes of the number in one word; numbers
// that do not fit share a packed word and are told apart by the column.
uint64_t Pack(std::string_view number) {
  const std::size_t bytes = std::min<std::size_t>(number.size(), 7);
  uint64_t word = std::min<std::size_t>(number.size(), 0xFF);
  for (std::size_t i = 0; i < bytes; ++i) word = word << 8 | static_cast<unsigned char>(number[i]);
  return word;
}

bool FitsPacked(std::string_view number) { return number.size() <= 7; }

uint64_t NextGeneration() {
  static std::atomic<uint64_t> generations{0};
  return ++generations;
}

// The last answer on this thread: a page reads dozens of figures of one racer
// in a row, each by number.
struct cLastFound {
  const cSlotIndex* index = nullptr;
  uint64_t generation = 0;
  uint64_t packed = 0;
  int16_t slot = 0;
};
thread_local cLastFound lastFound;

}  // namespace

void cSlotIndex::Clear() {
  m_Generation = NextGeneration();
  m_Table.clear();
  m_Shift = 63;
}

std::size_t cSlotIndex::Home(uint64_t packed) const {
  // Fibonacci hashing: the top bits of the product mix every byte.
  return static_cast<std::size_t>((packed * 0x9E3779B97F4A7C15u) >> m_Shift);
}

void cSlotIndex::Build(const std::vector<std::string>& numbers) {
  Clear();
  m_Table.assign(std::bit_ceil(numbers.size() * 2 + 2), Entry{});
  m_Shift = 64 - std::countr_zero(m_Table.size());
  for (std::size_t slot = 1; slot < numbers.size(); ++slot) {
    // An earlier slot keeps its number: a later one with the same is not added.
    const uint64_t packed = Pack(numbers[slot]);
    if (Probe(packed, numbers, numbers[slot]) != 0) continue;
    std::size_t at = Home(packed);
    while (m_Table[at].slot != 0) at = Next(at);
    m_Table[at] = {packed, static_cast<int16_t>(slot)};
  }
}

int16_t cSlotIndex::Find(const std::vector<std::string>& numbers, std::string_view number) const {
  if (m_Table.empty()) return 0;
  const uint64_t packed = Pack(number);
  const bool fits = FitsPacked(number);
  if (fits && lastFound.index == this && lastFound.generation == m_Generation && lastFound.packed == packed) {
    return lastFound.slot;
  }
  const int16_t slot = Probe(packed, numbers, number);
  if (fits) lastFound = {this, m_Generation, packed, slot};
  return slot;
}

int16_t cSlotIndex::Probe(uint64_t packed, const std::vector<std::string>& numbers, std::string_view number) const {
  for (std::size_t at = Home(packed);; at = Next(at)) {
    const Entry& e = m_Table[at];
    if (e.slot == 0) return 0;
    if (e.packed == packed && (FitsPacked(number) || numbers[static_cast<std::size_t>(e.slot)] == number)) {
      return e.slot;
    }
  }
}
