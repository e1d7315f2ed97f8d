#include "sensyu/FieldConvert.h"

#include <charconv>
#include <limits>
#include <string>
#include <system_error>

#include "sensyu/RunError.h"

namespace {

struct FieldNumber {
  bool negative = false;
  std::string_view digits;  // without leading zeros; empty for zero
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Blanks, an optional sign glued to the digits, digits, blanks.
FieldNumber ReadNumber(std::string_view field) {
  std::size_t pos = field.find_first_not_of(' ');
  std::size_t end = field.find_last_not_of(' ');
  if (pos == std::string_view::npos) throw cRunError::TypeMismatch();
  std::string_view body = field.substr(pos, end - pos + 1);
  FieldNumber number;
  if (body.front() == '+' || body.front() == '-') {
    number.negative = body.front() == '-';
    body.remove_prefix(1);
  }
  if (body.empty()) throw cRunError::TypeMismatch();
  for (char c : body) {
    if (!IsDigit(c)) throw cRunError::TypeMismatch();
  }
  std::size_t firstSignificant = body.find_first_not_of('0');
  number.digits = firstSignificant == std::string_view::npos ? std::string_view()
                                                             : body.substr(firstSignificant);
  return number;
}

// Up to nine digits fit an int64 with room for the sign; more can only overflow.
int64_t ToInt64(const FieldNumber& number) {
  if (number.digits.size() > 9) throw cRunError::Overflow();
  int64_t value = 0;
  for (char c : number.digits) value = value * 10 + (c - '0');
  return number.negative ? -value : value;
}

int16_t To16(int64_t value) {
  if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max()) {
    throw cRunError::Overflow();
  }
  return static_cast<int16_t>(value);
}

// The exact decimal text of the scaled value ("5.34"), rounded to float once
// by from_chars; dividing a double would round twice.
float ScaledToFloat(std::string_view field, std::size_t decimals) {
  FieldNumber number = ReadNumber(field);
  std::string text(number.digits);
  if (text.size() <= decimals) text.insert(0, decimals + 1 - text.size(), '0');
  text.insert(text.size() - decimals, 1, '.');
  // A zero stays +0 whatever its sign, so pages never show "-0".
  if (number.negative && !number.digits.empty()) text.insert(0, 1, '-');
  float value = 0.0f;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec == std::errc::result_out_of_range) throw cRunError::Overflow();
  if (ec != std::errc() || ptr != text.data() + text.size()) throw cRunError::TypeMismatch();
  return value;
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
