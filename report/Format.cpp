#include "report/Format.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "platform/Path.h"
#include "report/TrimBlanks.h"
#include "sensyu/RunError.h"
#include "sensyu/WindowServices.h"
#include "tobirex/Version.h"

namespace {

// A decimal number as written: sign, integer digits, fraction digits.
struct DecimalText {
  bool negative = false;
  std::string_view intDigits;
  std::string_view fracDigits;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TakeDigits(std::string_view& s) {
  std::size_t n = 0;
  while (n < s.size() && IsDigit(s[n])) ++n;
  std::string_view digits = s.substr(0, n);
  s.remove_prefix(n);
  return digits;
}

std::optional<DecimalText> ReadDecimalText(std::string_view text) {
  std::string_view s = TrimBlanks(text);
  DecimalText d;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    d.negative = s.front() == '-';
    s.remove_prefix(1);
  }
  d.intDigits = TakeDigits(s);
  if (!s.empty() && s.front() == '.') {
    s.remove_prefix(1);
    d.fracDigits = TakeDigits(s);
  }
  if (!s.empty() || (d.intDigits.empty() && d.fracDigits.empty())) return std::nullopt;
  return d;
}

// Rounds half to even on the decimal digits themselves, so "2.5000001" is
// above the half however a binary double would read it.
std::optional<int16_t> RoundToInt16(const DecimalText& d) {
  std::string_view digits = d.intDigits;
  while (!digits.empty() && digits.front() == '0') digits.remove_prefix(1);
  if (digits.size() > 6) return std::nullopt;
  long magnitude = 0;
  for (char c : digits) magnitude = magnitude * 10 + (c - '0');

  std::string_view frac = d.fracDigits;
  if (!frac.empty()) {
    char first = frac.front();
    bool restNonZero = frac.substr(1).find_first_not_of('0') != std::string_view::npos;
    if (first > '5' || (first == '5' && (restNonZero || magnitude % 2 == 1))) ++magnitude;
  }
  long value = d.negative ? -magnitude : magnitude;
  if (value < INT16_MIN || value > INT16_MAX) return std::nullopt;
  return static_cast<int16_t>(value);
}

int NumberOrZero(std::string_view text) {
  auto d = ReadDecimalText(text);
  if (!d) return 0;
  return RoundToInt16(*d).value_or(0);
}

// Code points of UTF-8 text; a stray continuation byte stays with the
// character before it.
std::vector<std::string_view> SplitChars(std::string_view utf8) {
  std::vector<std::string_view> chars;
  std::size_t start = 0;
  for (std::size_t pos = 1; pos <= utf8.size(); ++pos) {
    if (pos == utf8.size() || (static_cast<unsigned char>(utf8[pos]) & 0xC0) != 0x80) {
      chars.push_back(utf8.substr(start, pos - start));
      start = pos;
    }
  }
  return chars;
}

std::string JoinChars(const std::vector<std::string_view>& chars, std::size_t from, std::size_t count) {
  std::string text;
  for (std::size_t i = from; i < from + count; ++i) text.append(chars[i]);
  return text;
}

// Month or day of a date: plain digits, or empty when zero or not a number.
std::string DatePart(std::string_view text) {
  int value = NumberOrZero(text);
  return value == 0 ? std::string() : PlainDigits(value);
}

std::string FormatYmd(std::string_view ymd, std::size_t yearLength) {
  auto chars = SplitChars(ymd);
  if (chars.size() < yearLength + 4) return std::string();
  return JoinChars(chars, 0, yearLength) + "年" + DatePart(JoinChars(chars, yearLength, 2)) + "月" +
         DatePart(JoinChars(chars, chars.size() - 2, 2)) + "日";
}

std::string ZeroPadded(int value, std::size_t width) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return value < 0 ? "-" + digits : digits;
}

// Adds one unit in the last place of a digit string, carrying through nines.
void IncrementDigits(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  digits.insert(digits.begin(), '1');
}

// Whole units of the last place (tenths or hundredths) with `decimals` (1 or
// 2) places: "12.35" for 1235 units of a hundredth.
std::string UnitsText(int64_t units, bool negative, std::size_t decimals) {
  const int64_t unit = decimals == 1 ? 10 : 100;
  char buffer[32];
  char* end = buffer;
  if (negative && units != 0) *end++ = '-';
  end = std::to_chars(end, buffer + 24, units / unit).ptr;
  *end++ = '.';
  const auto fraction = static_cast<int>(units % unit);
  if (decimals == 2) *end++ = static_cast<char>('0' + fraction / 10);
  *end++ = static_cast<char>('0' + fraction % 10);
  return std::string(buffer, end);
}

// Digits of a whole number of hundredths with `decimals` places, rounding a
// dropped last digit half away from zero.
std::string HundredthsText(int64_t hundredths, std::size_t decimals) {
  const int64_t magnitude = hundredths < 0 ? -hundredths : hundredths;
  return UnitsText(decimals == 1 ? (magnitude + 5) / 10 : magnitude, hundredths < 0, decimals);
}

// A figure read from the file is a whole number of hundredths. When the float
// is the one nearest such a number n/100 and stays below 10^5 (where one float
// step is under 0.01), n/100 is its shortest decimal; the number of
// hundredths, or nothing.
std::optional<int64_t> WholeHundredths(float value) {
  if (!(std::fabs(value) < 1e5f)) return std::nullopt;
  const double n = std::nearbyint(static_cast<double>(value) * 100.0);
  // n is exact as a float, and one IEEE division rounds n/100 as a decimal would be read.
  if (static_cast<float>(n) / 100.0f != value) return std::nullopt;
  return static_cast<int64_t>(n);
}

// A rate is rarely a whole number of hundredths, but it is rarely near a
// rounding edge either. Every decimal that reads back as the float, its
// shortest one included, lies within half a float step of it; when no whole
// unit of the last place and no half unit lies that close, the shortest
// decimal rounds as the float's own value does. The rounded magnitude in
// units, or nothing when an edge is too close to tell (always so from 2^24 on,
// where every float is a whole number).
std::optional<int64_t> UnitsClearOfEdges(float value, std::size_t decimals) {
  const float magnitude = std::fabs(value);
  const double scale = decimals == 1 ? 10.0 : 100.0;
  const double scaled = static_cast<double>(magnitude) * scale;  // exact: 24 bits times 7
  const double units = std::floor(scaled);
  const double offset = scaled - units;  // exact, 0 <= offset < 1
  const float above = std::nextafter(magnitude, std::numeric_limits<float>::infinity());
  const double step = static_cast<double>(above) - static_cast<double>(magnitude);
  const double reach = step / 2 * scale;  // a power of two times 5 or 50: exact
  const bool clearOfUnits = offset > reach && offset < 1.0 - reach;
  const bool belowHalf = offset < 0.5 - reach, aboveHalf = offset > 0.5 + reach;
  if (!clearOfUnits || !(belowHalf || aboveHalf)) return std::nullopt;
  return static_cast<int64_t>(units) + (aboveHalf ? 1 : 0);
}

// The shortest decimal of the float, its digits rounded half away from zero
// at `decimals` places: the slow way, for floats near a rounding edge.
std::string RoundedShortestDecimal(float value, std::size_t decimals) {
  char buffer[128];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));

  bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  std::size_t point = text.find('.');
  std::string_view intPart = text.substr(0, point);
  std::string_view fracPart = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);

  std::string digits(intPart);
  std::string frac(fracPart.substr(0, decimals));
  frac.resize(decimals, '0');
  digits += frac;
  if (fracPart.size() > decimals && fracPart[decimals] >= '5') IncrementDigits(digits);

  bool zero = digits.find_first_not_of('0') == std::string::npos;
  std::string out = negative && !zero ? "-" : "";
  out.append(digits, 0, digits.size() - decimals);
  out += '.';
  out.append(digits, digits.size() - decimals, decimals);
  return out;
}

// The shortest decimal that reads back as the float, rounded half away from
// zero: the figures users compare against are published as decimals.
std::string FormatDecimals(float value, std::size_t decimals) {
  if (!std::isfinite(value)) value = 0.0f;
  if (const auto hundredths = WholeHundredths(value)) return HundredthsText(*hundredths, decimals);
  if (const auto units = UnitsClearOfEdges(value, decimals)) return UnitsText(*units, value < 0, decimals);
  return RoundedShortestDecimal(value, decimals);
}

}  // namespace

std::string GetKiName(int16_t intKi) {
  if (intKi == 1) return "前";
  if (intKi == 2) return "後";
  return std::string();
}

std::string GetSensyuFolder(int16_t intSensyuNo, bool absolute, const std::filesystem::path& outputFolder) {
  std::string base = ZeroPadded(intSensyuNo / 1000 * 1000, 4);
  if (absolute) return PathToUtf8(outputFolder / base);
  // Links keep the Windows form; browsers resolve the backslash.
  return ".\\" + base;
}

std::string RacerPageUrl(const std::string& no) {
  return ZeroPadded(TextToInt16(no) / 1000 * 1000, 4) + "/" + no + ".html";
}

std::string FormatYmd8(std::string_view ymd) { return FormatYmd(ymd, 4); }

std::string FormatYmd7(std::string_view ymd) { return FormatYmd(ymd, 3); }

std::string FormatDiff(int a, int b) {
  if (a == b) return "(-)";
  if (a > b) return "(+" + PlainDigits(a - b) + ")";
  return "(-" + PlainDigits(b - a) + ")";
}

char* PrintFormTo(char* out, int value) {
  if (value >= 0) *out++ = ' ';
  out = std::to_chars(out, out + 11, value).ptr;
  *out++ = ' ';
  return out;
}

std::string PrintForm(int value) {
  char buffer[kPrintFormRoom];
  return std::string(buffer, PrintFormTo(buffer, value));
}

std::string PlainDigits(int value) { return std::to_string(value); }

std::string Format00(float value) { return FormatDecimals(value, 2); }

std::string Format0(float value) { return FormatDecimals(value, 1); }

std::string CommonFooter() {
  return std::string("<DIV ALIGN=CENTER>") + kAppTitle + "　Version " + PlainDigits(kVersionMajor) + "." +
         ZeroPadded(kVersionMinor, 2) + "</DIV>";
}

bool IsNumericText(std::string_view text) { return ReadDecimalText(text).has_value(); }

int16_t TextToInt16(std::string_view text) {
  auto d = ReadDecimalText(text);
  if (!d) throw cRunError::TypeMismatch();
  auto value = RoundToInt16(*d);
  if (!value) throw cRunError::Overflow();
  return *value;
}
