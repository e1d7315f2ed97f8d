#include "sensyu/SlotIndex.h"

#include <bit>

namespace {

// FNV-1a: racer numbers are four characters, so a byte loop is enough.
uint64_t HashOf(std::string_view text) {
  uint64_t h = 14695981039346656037ull;
  for (char c : text) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return h ^ (h >> 32);
}

}  // namespace

void cSlotIndex::Clear() {
  m_Table.clear();
  m_Mask = 0;
}

std::size_t cSlotIndex::Home(std::string_view number) const { return HashOf(number) & m_Mask; }

void cSlotIndex::Build(const std::vector<std::string>& numbers) {
  Clear();
  // At most half full, so that a miss ends after a probe or two.
  m_Table.assign(std::bit_ceil(numbers.size() * 2 + 2), 0);
  m_Mask = m_Table.size() - 1;
  for (std::size_t slot = 1; slot < numbers.size(); ++slot) {
    std::size_t at = Home(numbers[slot]);
    while (m_Table[at] != 0 && numbers[static_cast<std::size_t>(m_Table[at])] != numbers[slot]) at = (at + 1) & m_Mask;
    if (m_Table[at] == 0) m_Table[at] = static_cast<int16_t>(slot);  // an earlier slot keeps the number
  }
}

int16_t cSlotIndex::Find(const std::vector<std::string>& numbers, std::string_view number) const {
  if (m_Table.empty()) return 0;
  for (std::size_t at = Home(number);; at = (at + 1) & m_Mask) {
    const int16_t slot = m_Table[at];
    if (slot == 0 || numbers[static_cast<std::size_t>(slot)] == number) return slot;
  }
}
