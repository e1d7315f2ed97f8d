#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>

#include "sensyu/FieldConvert.h"
#include "sensyu/RunError.h"
#include "support/TestData.h"

namespace {

// The value in its shortest decimal form, or "error N" for the cRunError thrown.
std::string Converted(const std::string& kind, std::string field) {
  std::replace(field.begin(), field.end(), '_', ' ');
  try {
    const float v = kind == "integer" ? FieldToInteger(field)
                    : kind == "index" ? FieldToIndex(field)
                    : kind == "tenths" ? FieldToTenths(field)
                                       : FieldToHundredths(field);
    char buf[32];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
  } catch (const cRunError& e) {
    return "error " + std::to_string(e.Number());
  }
}

TEST(FieldConvert, ReadsEveryRowAsExpected) {
  for (const auto& row : ReadRows("fields.txt")) {
    const std::string expected = row.size() > 3 ? row[2] + " " + row[3] : row[2];
    EXPECT_EQ(Converted(row[0], row[1]), expected) << row[0] << " «" << row[1] << "»";
  }
}

// Dividing must give the float nearest the decimal, as reading "5.34" does:
// dividing a double and narrowing would round twice.
TEST(FieldConvert, EveryScaledFieldValueIsTheFloatNearestItsDecimal) {
  for (int v = -9999; v <= 99999; ++v) {
    const std::string digits = std::to_string(v < 0 ? -v : v);
    for (std::size_t decimals : {1u, 2u}) {
      std::string text = std::string(digits.size() <= decimals ? decimals + 1 - digits.size() : 0, '0') + digits;
      text.insert(text.size() - decimals, ".");
      if (v < 0) text.insert(0, "-");
      float expected = 0.0f;
      std::from_chars(text.data(), text.data() + text.size(), expected);
      const float got = decimals == 1 ? FieldToTenths(std::to_string(v)) : FieldToHundredths(std::to_string(v));
      ASSERT_EQ(got, expected) << v << " / " << (decimals == 1 ? 10 : 100);
    }
  }
}

TEST(FieldConvert, SixteenBitArithmeticReportsOverflowInsteadOfWrapping) {
  EXPECT_EQ(Add16(32766, 1), 32767);
  EXPECT_EQ(Mul16(-5461, 6), -32766);
  EXPECT_THROW(Add16(32767, 1), cRunError);
  EXPECT_THROW(Add16(-32768, -1), cRunError);
  EXPECT_THROW(Mul16(5462, 6), cRunError);
  EXPECT_THROW(Mul16(-5462, 6), cRunError);
}

}  // namespace
