#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// Racer number -> the lowest slot that holds it. Every figure of a racer is
/// read by number, so a page asks this dozens of times per racer: an open
/// addressing table whose entries carry the number packed into a word
/// (racer numbers are four ASCII digits), compared without touching the slots.
class cSlotIndex {
 public:
  /// Indexes slots 1..numbers.size()-1 of the racer data's number column.
  void Build(const std::vector<std::string>& numbers);
  void Clear();
  /// The slot, or 0 when no slot holds the number; `numbers` is the column
  /// the index was built from, unchanged since.
  int16_t Find(const std::vector<std::string>& numbers, std::string_view number) const;

 private:
  struct Entry {
    uint64_t packed = 0;  // the first bytes of the number and its length
    int16_t slot = 0;     // 0 = free
  };

  std::size_t Home(uint64_t packed) const;
  std::size_t Next(std::size_t at) const { return (at + 1) & (m_Table.size() - 1); }
  int16_t Probe(uint64_t packed, const std::vector<std::string>& numbers, std::string_view number) const;

  std::vector<Entry> m_Table;  // a power of two in size, at most half full
  int m_Shift = 63;
  uint64_t m_Generation = 0;  // new for every build, so a remembered answer cannot outlive its table
};
