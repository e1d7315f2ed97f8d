#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// Racer number -> the lowest slot that holds it. Every figure of a racer is
/// read by number, so a page asks this dozens of times per racer: an open
/// addressing table over the slots' own numbers, no node per entry.
class cSlotIndex {
 public:
  /// Indexes slots 1..numbers.size()-1 of the racer data's number column.
  void Build(const std::vector<std::string>& numbers);
  void Clear();
  /// The slot, or 0 when no slot holds the number; `numbers` is the column
  /// the index was built from, unchanged since.
  int16_t Find(const std::vector<std::string>& numbers, std::string_view number) const;

 private:
  std::size_t Home(std::string_view number) const;

  std::vector<int16_t> m_Table;  // slot numbers, 0 = free; size a power of two
  std::size_t m_Mask = 0;
};
