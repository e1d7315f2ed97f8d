#include "report/IsoDate.h"

#include <array>
#include <cstdio>

namespace {

// The year before the first year of each era: Showa 57 is 1925 + 57.
struct cEra {
  char letter;
  int yearZero;
};
constexpr std::array kEras{cEra{'M', 1867}, cEra{'T', 1911}, cEra{'S', 1925}, cEra{'H', 1988}, cEra{'R', 2018}};

// The number of `count` digits at `at`, or -1 when any of them is no digit.
int Digits(std::string_view text, std::size_t at, std::size_t count) {
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

int DaysIn(int year, int month) {
  constexpr std::array kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

// The date when month and day make one; `rest` holds MMDD.
std::optional<std::string> Dated(int year, std::string_view rest) {
  const int month = Digits(rest, 0, 2), day = Digits(rest, 2, 2);
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysIn(year, month)) return std::nullopt;
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
  return text;
}

}  // namespace

int FullYear(int year) { return year <= 68 ? 2000 + year : 1900 + year; }

std::optional<std::string> IsoDate(std::string_view text) {
  if (text.size() == 8) {
    const int year = Digits(text, 0, 4);
    return year < 0 ? std::nullopt : Dated(year, text.substr(4));
  }
  if (text.size() == 6) {
    const int year = Digits(text, 0, 2);
    return year < 0 ? std::nullopt : Dated(FullYear(year), text.substr(2));
  }
  if (text.size() != 7) return std::nullopt;
  for (const cEra& era : kEras) {
    const int year = Digits(text, 1, 2);
    if (era.letter == text[0] && year > 0) return Dated(era.yearZero + year, text.substr(3));
  }
  return std::nullopt;
}
