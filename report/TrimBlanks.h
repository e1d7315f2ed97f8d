#pragma once
#include <string_view>

#include "sensyu/Cp932.h"

/// The text without leading and trailing half-width spaces (U+0020).
inline std::string_view TrimBlanks(std::string_view text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

/// The index heading of a reading: its first character once the blanks are
/// trimmed, or "" for a reading of blanks only. The name list sorts by it and
/// the index page groups by it, so both take it from here.
inline std::string_view ReadingInitial(std::string_view reading) { return FirstChars(TrimBlanks(reading), 1); }
