#include "sensyu/FanLines.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "sensyu/Cp932.h"

namespace {
// True when one of the eight bytes of `word` is CR or LF.
bool HoldsLineEnd(uint64_t word) {
  constexpr uint64_t kOnes = 0x0101010101010101u;
  constexpr uint64_t kHighs = 0x8080808080808080u;
  const auto hasZeroByte = [](uint64_t v) { return (v - kOnes) & ~v & kHighs; };
  return hasZeroByte(word ^ (kOnes * '\n')) != 0 || hasZeroByte(word ^ (kOnes * '\r')) != 0;
}

// Where the line starting at `start` ends (its CR or LF), or npos. Records
// are hundreds of bytes long, so the search skips eight bytes at a time.
std::size_t LineEnd(std::string_view bytes, std::size_t start) {
  std::size_t i = start;
  for (uint64_t word = 0; i + 8 <= bytes.size(); i += 8) {
    std::memcpy(&word, bytes.data() + i, 8);
    if (HoldsLineEnd(word)) break;
  }
  for (; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' || bytes[i] == '\n') return i;
  }
  return std::string_view::npos;
}

}  // namespace

std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = LineEnd(bytes, start);
    if (end == std::string_view::npos) {
      lines.push_back(bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 1;
    if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
  }
  return lines;
}

bool IsBlankLine(std::string_view line) { return line.find_first_not_of(' ') == std::string_view::npos; }

std::string LineKey(std::string_view line) {
  const std::string_view first4 = line.substr(0, 4);
  // The usual racer number: four ASCII bytes are four characters as they stand.
  if (std::all_of(first4.begin(), first4.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    return std::string(first4);
  }
  // Four characters take at most eight bytes; a character cut at the eighth
  // byte lies after the fourth and is dropped by FirstChars.
  std::string head = Cp932ToUtf8(line.substr(0, 8));
  return std::string(FirstChars(head, 4));
}
