#include "report/Format.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>

#include "sensyu/RunError.h"

namespace {

struct TextRow {
  const char* input;
  const char* expected;
};

TEST(GetSensyuFolder, PerThousandFolderInBothForms) {
  struct Row {
    int16_t no;
    const char* name;
  };
  const Row rows[] = {{0, "0000"},    {1, "0000"},    {999, "0000"},  {1000, "1000"},
                      {4321, "4000"}, {4999, "4000"}, {5000, "5000"}, {32767, "32000"},
                      {-1, "0000"},   {-999, "0000"}, {-1000, "-1000"}};
  const std::filesystem::path out = "/home/u/Desktop/ファン手帳";
  for (const Row& r : rows) {
    SCOPED_TRACE(r.no);
    EXPECT_EQ(GetSensyuFolder(r.no, false, out), std::string(".\\") + r.name);
    EXPECT_EQ(GetSensyuFolder(r.no, true, out), "/home/u/Desktop/ファン手帳/" + std::string(r.name));
  }
}

TEST(FormatYmd8, SlicesYearMonthAndLastTwoCharacters) {
  const TextRow rows[] = {
      {"20201101", "2020年11月1日"},     {"20210430", "2021年4月30日"},
      {"20200005", "2020年月5日"},       {"20201200", "2020年12月日"},
      {"20200000", "2020年月日"},        {"2020110", ""},
      {"", ""},                          {"2020111520", "2020年11月20日"},
      {"202011011", "2020年11月11日"},   {"2020AB0X", "2020年月日"},
      {"2020 1 1", "2020年1月1日"},      {"２０２０1101", "２０２０年11月1日"},
  };
  for (const TextRow& r : rows) {
    SCOPED_TRACE(r.input);
    EXPECT_EQ(FormatYmd8(r.input), r.expected);
  }
}

TEST(FormatYmd7, SlicesThreeCharacterYear) {
  const TextRow rows[] = {
      {"S571119", "S57年11月19日"}, {"H010108", "H01年1月8日"}, {"S57111", ""},
      {"S5700 0", "S57年月日"},      {"昭57 1 9", "昭57年1月9日"}, {"S5711190", "S57年11月90日"},
  };
  for (const TextRow& r : rows) {
    SCOPED_TRACE(r.input);
    EXPECT_EQ(FormatYmd7(r.input), r.expected);
  }
}

TEST(FormatDiff, SignAndSizeOfTheDifference) {
  struct Row {
    const char* newText;
    const char* oldText;
    const char* expected;
  };
  const Row rows[] = {
      {"3", "", "(+3)"},           {"5", "5", "(-)"},         {"2", "5", "(-3)"},
      {"-3", "3", "(-6)"},         {"0", "-0", "(-)"},        {"", "", "(-)"},
      {"abc", "4", "(-4)"},        {"4", "1e3", "(+4)"},      {" 10 ", "10.4", "(-)"},
      {"2.5", "2", "(-)"},         {"3.5", "3", "(+1)"},      {"40000", "1", "(-1)"},
      {"32767", "-32768", "(+65535)"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.newText) + " / " + r.oldText);
    EXPECT_EQ(FormatDiff(r.newText, r.oldText), r.expected);
  }
}

TEST(Format00, RoundsTheShortestDecimalHalfAwayFromZero) {
  struct Row {
    float value;
    const char* two;
    const char* one;
  };
  const Row rows[] = {
      {2.35f, "2.35", "2.4"},         {2.25f, "2.25", "2.3"},       {3.125f, "3.13", "3.1"},
      {44.166668f, "44.17", "44.2"},  {6.5f, "6.50", "6.5"},        {0.0f, "0.00", "0.0"},
      {-1.005f, "-1.01", "-1.0"},     {0.5833333f, "0.58", "0.6"},  {71.666664f, "71.67", "71.7"},
      {1e-7f, "0.00", "0.0"},         {2.675f, "2.68", "2.7"},      {0.125f, "0.13", "0.1"},
      {9.995f, "10.00", "10.0"},      {0.995f, "1.00", "1.0"},      {99.95f, "99.95", "100.0"},
      {-2.35f, "-2.35", "-2.4"},      {-2.25f, "-2.25", "-2.3"},    {-0.001f, "0.00", "0.0"},
      {-0.05f, "-0.05", "-0.1"},      {-0.04f, "-0.04", "0.0"},     {-0.0f, "0.00", "0.0"},
      {100.0f, "100.00", "100.0"},    {1e10f, "10000000000.00", "10000000000.0"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.value);
    EXPECT_EQ(Format00(r.value), r.two);
    EXPECT_EQ(Format0(r.value), r.one);
  }
}

// Figures read from the file are whole hundredths; whatever shortcut formats
// them must agree with the shortest decimal of the float, rounded half away.
TEST(Format00, WholeHundredthsAgreeWithTheirShortestDecimal) {
  const auto reference = [](float v, int decimals) {
    char buffer[64];
    const std::string text(buffer, std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed).ptr);
    const bool negative = text.front() == '-';
    const std::size_t point = text.find('.');
    std::string whole = text.substr(negative ? 1 : 0, point == std::string::npos ? std::string::npos : point - negative);
    std::string frac = point == std::string::npos ? "" : text.substr(point + 1);
    const bool up = frac.size() > static_cast<std::size_t>(decimals) && frac[static_cast<std::size_t>(decimals)] >= '5';
    frac.resize(static_cast<std::size_t>(decimals), '0');
    long long n = std::stoll(whole + frac) + (up ? 1 : 0);
    const long long unit = decimals == 1 ? 10 : 100;
    std::string f = std::to_string(n % unit);
    f.insert(0, static_cast<std::size_t>(decimals) - f.size(), '0');
    return std::string(negative && n != 0 ? "-" : "") + std::to_string(n / unit) + "." + f;
  };
  for (int n = -999999; n <= 9999999; n += (n > -2000 && n < 20000) ? 1 : 37) {
    const float v = static_cast<float>(n) / 100.0f;
    ASSERT_EQ(Format00(v), reference(v, 2)) << n;
    ASSERT_EQ(Format0(v), reference(v, 1)) << n;
    const float next = std::nextafter(v, 1e9f);  // just off a whole hundredth
    ASSERT_EQ(Format00(next), reference(next, 2)) << n;
    ASSERT_EQ(Format0(next), reference(next, 1)) << n;
  }
}

TEST(Format00, NonFiniteValuesPrintAsZero) {
  EXPECT_EQ(Format00(std::numeric_limits<float>::quiet_NaN()), "0.00");
  EXPECT_EQ(Format0(std::numeric_limits<float>::infinity()), "0.0");
  EXPECT_EQ(Format00(-std::numeric_limits<float>::infinity()), "0.00");
}

TEST(PrintForm, BlanksAroundDigitsOrLeadingMinus) {
  EXPECT_EQ(PrintForm(170), " 170 ");
  EXPECT_EQ(PrintForm(0), " 0 ");
  EXPECT_EQ(PrintForm(-5), "-5 ");
  EXPECT_EQ(PlainDigits(1600), "1600");
  EXPECT_EQ(PlainDigits(-5), "-5");
}

TEST(GetKiName, FirstAndSecondHalfOnly) {
  EXPECT_EQ(GetKiName(1), "前");
  EXPECT_EQ(GetKiName(2), "後");
  EXPECT_EQ(GetKiName(0), "");
  EXPECT_EQ(GetKiName(3), "");
  EXPECT_EQ(GetKiName(-1), "");
}

TEST(CommonFooter, TitleAndTwoDigitMinorVersion) {
  EXPECT_EQ(CommonFooter(), "<DIV ALIGN=CENTER>Harumado　Version 1.03</DIV>");
}

TEST(IsNumericText, DecimalNumbersWithBlanksAndSign) {
  struct Row {
    const char* text;
    bool numeric;
  };
  const Row rows[] = {
      {"4321", true},  {" 12 ", true},  {"+5", true},    {"-5", true},    {"1.5", true},
      {".5", true},    {"5.", true},    {"007", true},   {"", false},     {"   ", false},
      {".", false},    {"-", false},    {"+.", false},   {"1e3", false},  {"0x10", false},
      {"&H10", false}, {"¥5", false},   {"$5", false},   {"1,000", false}, {"1.2.3", false},
      {"- 5", false},  {"5-", false},   {"--5", false},  {"ｱｲｳｴ", false}, {"１２", false},
      {"12a", false},  {"\t12", false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    EXPECT_EQ(IsNumericText(r.text), r.numeric);
  }
}

TEST(TextToInt16, RoundsHalfToEvenOnTheDecimalDigits) {
  struct Row {
    const char* text;
    int16_t value;
  };
  const Row rows[] = {
      {"12.5", 12},      {"13.5", 14},          {"-2.5", -2},         {"-3.5", -4},
      {"0.5", 0},        {"-0.5", 0},           {"1.5", 2},           {"2.5000001", 3},
      {"1.4999999", 1},  {"32767", 32767},      {"-32768", -32768},   {"32767.4", 32767},
      {"-32768.5", -32768}, {"0000000000012", 12}, {" 7 ", 7},        {"+0009.", 9},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    EXPECT_EQ(TextToInt16(r.text), r.value);
  }
}

TEST(TextToInt16, ThrowsOverflowOutsideSixteenBitsAndTypeMismatchForText) {
  struct Row {
    const char* text;
    int number;
  };
  const Row rows[] = {{"32768", 6},       {"32767.5", 6}, {"-32768.6", 6}, {"-32769", 6},
                      {"99999999999", 6}, {"", 13},       {"abc", 13},     {"1e3", 13}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    try {
      TextToInt16(r.text);
      ADD_FAILURE() << "no error";
    } catch (const cRunError& e) {
      EXPECT_EQ(e.Number(), r.number);
    }
  }
}

}  // namespace
