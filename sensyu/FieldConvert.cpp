#include "sensyu/FieldConvert.h"

#include <charconv>
#include <limits>
#include <string>
#include <system_error>

#include "sensyu/RunError.h"

namespace {

struct FieldNumber {
  bool negative = false;
  int significantDigits = 0;  // digits after the leading zeros
  int64_t magnitude = 0;      // meaningful while significantDigits <= 9
  std::string_view digits;    // the significant digits
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Blanks, an optional sign glued to the digits, digits, blanks. One pass:
// a record has about 150 number fields. A field that is not a number throws
// before one that is too long for any count.
FieldNumber ReadNumber(std::string_view field) {
  const char* p = field.data();
  const char* end = p + field.size();
  while (p < end && *p == ' ') ++p;
  while (end > p && end[-1] == ' ') --end;
  FieldNumber number;
  if (p < end && (*p == '+' || *p == '-')) {
    number.negative = *p == '-';
    ++p;
  }
  if (p == end) throw cRunError::TypeMismatch();
  const char* significant = end;
  for (; p < end; ++p) {
    if (!IsDigit(*p)) throw cRunError::TypeMismatch();
    if (number.significantDigits == 0 && *p == '0') continue;
    if (number.significantDigits == 0) significant = p;
    if (++number.significantDigits <= 9) number.magnitude = number.magnitude * 10 + (*p - '0');
  }
  number.digits = std::string_view(significant, static_cast<std::size_t>(end - significant));
  return number;
}

// Up to nine digits fit an int64 with room for the sign; more can only overflow.
int64_t ToInt64(const FieldNumber& number) {
  if (number.significantDigits > 9) throw cRunError::Overflow();
  return number.negative ? -number.magnitude : number.magnitude;
}

int16_t To16(int64_t value) {
  if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max()) {
    throw cRunError::Overflow();
  }
  return static_cast<int16_t>(value);
}

// The exact decimal text of the scaled value ("5.34"), rounded to float once
// by from_chars.
float DecimalTextToFloat(const FieldNumber& number, std::size_t decimals) {
  std::string text(number.digits);
  if (text.size() <= decimals) text.insert(0, decimals + 1 - text.size(), '0');
  text.insert(text.size() - decimals, 1, '.');
  if (number.negative) text.insert(0, 1, '-');
  float value = 0.0f;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec == std::errc::result_out_of_range) throw cRunError::Overflow();
  if (ec != std::errc() || ptr != text.data() + text.size()) throw cRunError::TypeMismatch();
  return value;
}

// The scaled value rounded to float once. Below 2^24 the integer is exact as
// a float and IEEE division rounds the true quotient once, to nearest even,
// as reading the decimal text does; dividing a double would round twice.
float ScaledToFloat(std::string_view field, std::size_t decimals) {
  const FieldNumber number = ReadNumber(field);
  if (number.significantDigits == 0) return 0.0f;  // a zero stays +0 whatever its sign: pages never show "-0"
  if (number.significantDigits > 7) return DecimalTextToFloat(number, decimals);
  const auto value = static_cast<float>(number.negative ? -number.magnitude : number.magnitude);
  return value / (decimals == 1 ? 10.0f : 100.0f);
}

}  // namespace

int16_t FieldToInteger(std::string_view field) { return To16(ToInt64(ReadNumber(field))); }

float FieldToTenths(std::string_view field) { return ScaledToFloat(field, 1); }

float FieldToHundredths(std::string_view field) { return ScaledToFloat(field, 2); }

int16_t FieldToIndex(std::string_view field) {
  int64_t value = ToInt64(ReadNumber(field));
  int64_t quotient = value / 100;  // truncated toward zero
  int64_t rest = value % 100;      // same sign as value
  bool quotientOdd = quotient % 2 != 0;
  if (rest > 50 || (rest == 50 && quotientOdd)) ++quotient;
  if (rest < -50 || (rest == -50 && quotientOdd)) --quotient;
  return To16(quotient);
}

int16_t Add16(int16_t a, int16_t b) { return To16(int64_t{a} + b); }

int16_t Mul16(int16_t a, int16_t b) { return To16(int64_t{a} * b); }
