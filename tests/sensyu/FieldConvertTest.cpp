#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <functional>

#include "sensyu/FieldConvert.h"
#include "sensyu/RunError.h"

namespace {

// The error number a conversion throws, 0 when it succeeds.
int ErrorNumberOf(const std::function<void()>& convert) {
  try {
    convert();
  } catch (const cRunError& e) {
    return e.Number();
  }
  return 0;
}

TEST(FieldToInteger, ReadsDigitsWithBlanksAndSign) {
  const struct {
    const char* field;
    int16_t value;
  } rows[] = {
      {"  7", 7},
      {" -3", -3},
      {"7 ", 7},
      {"+5", 5},
      {"007", 7},
      {"0", 0},
      {"-0", 0},
      {"32767", 32767},
      {"-32768", -32768},
      {" 12 ", 12},
      {"0000000000032767", 32767},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.field);
    EXPECT_EQ(FieldToInteger(r.field), r.value);
  }
}

TEST(FieldToInteger, RejectsFieldsThatAreNotANumber) {
  const struct {
    const char* field;
    int number;
  } rows[] = {
      {"", 13},   {"   ", 13}, {"- 3", 13},  {"3 4", 13},   {"1a", 13},
      {"+", 13},  {"--1", 13}, {"1.0", 13},  {"\t7", 13},   {"１", 13},
      {"〓", 13}, {"0x1", 13}, {"32768", 6}, {"-32769", 6}, {"99999999999", 6},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.field);
    EXPECT_EQ(ErrorNumberOf([&] { FieldToInteger(r.field); }), r.number);
  }
}

TEST(FieldToScaled, DividesExactlyAndRoundsOnceToFloat) {
  const struct {
    const char* field;
    bool hundredths;
    float value;
  } rows[] = {
      {"0534", true, 5.34f},  {"0605", false, 60.5f},  {"650", true, 6.5f},
      {"  7", true, 0.07f},   {" -15", true, -0.15f},  {"1", false, 0.1f},
      {"9999", true, 99.99f}, {"0000", false, 0.0f},   {"-0", true, 0.0f},
      {"333", true, 3.33f},   {"1001", false, 100.1f}, {"123456789", true, 1234567.89f},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.field);
    float got = r.hundredths ? FieldToHundredths(r.field) : FieldToTenths(r.field);
    EXPECT_EQ(got, r.value);
    EXPECT_FALSE(std::signbit(got) && r.value == 0.0f) << "a zero field must not read as -0";
  }
  for (const char* bad : {"", "  ", "5.3", "1e2", "a"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(ErrorNumberOf([&] { FieldToHundredths(bad); }), 13);
    EXPECT_EQ(ErrorNumberOf([&] { FieldToTenths(bad); }), 13);
  }
}

// Every value a field of up to five characters can hold, against the float
// nearest to its exact decimal value as from_chars reads it.
TEST(FieldToScaled, EveryFieldValueIsTheFloatNearestItsDecimal) {
  for (int v = -9999; v <= 99999; ++v) {
    const std::string field = std::to_string(v);
    const std::string digits = std::to_string(v < 0 ? -v : v);
    for (std::size_t decimals : {1u, 2u}) {
      std::string text = std::string(digits.size() <= decimals ? decimals + 1 - digits.size() : 0, '0') + digits;
      text.insert(text.size() - decimals, ".");
      if (v < 0) text.insert(0, "-");
      float expected = 0.0f;
      std::from_chars(text.data(), text.data() + text.size(), expected);
      const float got = decimals == 1 ? FieldToTenths(field) : FieldToHundredths(field);
      ASSERT_EQ(got, expected) << field << " / " << (decimals == 1 ? 10 : 100);
    }
  }
}

TEST(FieldToIndex, RoundsHundredthsHalfToEven) {
  const struct {
    const char* field;
    int16_t value;
  } rows[] = {
      {"5432", 54}, {"5450", 54}, {"5550", 56},  {"5451", 55},       {"5449", 54},
      {"  50", 0},  {"150", 2},   {"250", 2},    {"-250", -2},       {"-350", -4},
      {"-351", -4}, {"-349", -3}, {"9999", 100}, {"3276749", 32767}, {"-3276850", -32768},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.field);
    EXPECT_EQ(FieldToIndex(r.field), r.value);
  }
  EXPECT_EQ(ErrorNumberOf([] { FieldToIndex("3276750"); }), 6);  // 32767.5 rounds to 32768
  EXPECT_EQ(ErrorNumberOf([] { FieldToIndex("-3276851"); }), 6);
  EXPECT_EQ(ErrorNumberOf([] { FieldToIndex("    "); }), 13);
}

TEST(Arithmetic16, ReportsOverflowInsteadOfWrapping) {
  EXPECT_EQ(Add16(32766, 1), 32767);
  EXPECT_EQ(Add16(-32767, -1), -32768);
  EXPECT_EQ(Mul16(5461, 6), 32766);
  EXPECT_EQ(Mul16(-5461, 6), -32766);
  EXPECT_EQ(ErrorNumberOf([] { Add16(32767, 1); }), 6);
  EXPECT_EQ(ErrorNumberOf([] { Add16(-32768, -1); }), 6);
  EXPECT_EQ(ErrorNumberOf([] { Mul16(5462, 6); }), 6);
  EXPECT_EQ(ErrorNumberOf([] { Mul16(-5462, 6); }), 6);
}

}  // namespace
