#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>

#include "report/Format.h"
#include "report/ToFullWidth.h"
#include "sensyu/Cp932.h"
#include "sensyu/RunError.h"
#include "support/TestData.h"

namespace {

std::string Unblank(std::string text) {
  if (text == "∅") return "";
  std::replace(text.begin(), text.end(), '_', ' ');
  return text;
}

std::string Apply(const std::string& helper, const std::string& a, const std::string& b) {
  try {
    if (helper == "Format00") return Format00(std::stof(a));
    if (helper == "Format0") return Format0(std::stof(a));
    if (helper == "FormatYmd8") return FormatYmd8(a);
    if (helper == "FormatYmd7") return FormatYmd7(a);
    if (helper == "FormatDiff") return FormatDiff(std::stoi(a), std::stoi(b));
    if (helper == "GetSensyuFolder") return GetSensyuFolder(static_cast<int16_t>(std::stoi(a)), false, {});
    if (helper == "PrintForm") return PrintForm(std::stoi(a));
    if (helper == "GetKiName") return GetKiName(static_cast<int16_t>(std::stoi(a)));
    if (helper == "IsNumericText") return IsNumericText(a) ? "1" : "0";
    if (helper == "TextToInt16") return std::to_string(TextToInt16(a));
    if (helper == "ToFullWidth") return ToFullWidth(a);
    if (helper == "CommonFooter") return CommonFooter();
  } catch (const cRunError& e) {
    return "error " + std::to_string(e.Number());
  }
  return "no such helper";
}

TEST(Format, EveryHelperGivesTheExpectedForm) {
  for (const auto& row : ReadRows("format.txt")) {
    const bool twoArgs = row.size() == 4;
    const std::string got = Apply(row[0], Unblank(row[1]), twoArgs ? row[2] : "");
    EXPECT_EQ(got, Unblank(row.back())) << row[0] << " " << row[1];
  }
}

// The shortest decimal of the float, its digits rounded half away from zero.
std::string RoundedShortest(float v, std::size_t decimals) {
  char buffer[64];
  const std::string text(buffer, std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed).ptr);
  const bool negative = text.front() == '-';
  const std::size_t point = text.find('.');
  const std::string whole = text.substr(negative, point == std::string::npos ? point : point - negative);
  std::string frac = point == std::string::npos ? "" : text.substr(point + 1);
  const bool up = frac.size() > decimals && frac[decimals] >= '5';
  frac.resize(decimals, '0');
  const long long n = std::stoll(whole + frac) + (up ? 1 : 0), unit = decimals == 1 ? 10 : 100;
  std::string f = std::to_string(n % unit);
  f.insert(0, decimals - f.size(), '0');
  return std::string(negative && n != 0 ? "-" : "") + std::to_string(n / unit) + "." + f;
}

void ExpectShortestRounded(float x) {
  ASSERT_EQ(Format00(x), RoundedShortest(x, 2)) << x;
  ASSERT_EQ(Format0(x), RoundedShortest(x, 1)) << x;
}

// Figures read from the file are whole hundredths; whatever shortcut formats
// them must agree with the shortest decimal of the float, rounded half away.
TEST(Format, WholeHundredthsAgreeWithTheirShortestDecimal) {
  for (int n = -999999; n <= 9999999; n += (n > -2000 && n < 20000) ? 1 : 37) {
    const float v = static_cast<float>(n) / 100.0f;
    ExpectShortestRounded(v);
    ExpectShortestRounded(std::nextafter(v, 1e9f));  // just off a whole hundredth
  }
}

// Rates are quotients: every share of up to 400 starts as a percentage and as
// a mean of six, and floats spread over every exponent up to 2^40 (all whole
// numbers from 2^24 on).
TEST(Format, QuotientsAndSpreadFloatsAgreeWithTheirShortestDecimal) {
  for (int starts = 1; starts <= 400; ++starts) {
    for (int count = 0; count <= starts; ++count) {
      ExpectShortestRounded(static_cast<float>(static_cast<double>(count) / starts * 100.0));
      ExpectShortestRounded(static_cast<float>(static_cast<double>(count) / 6.0 + starts));
    }
  }
  for (uint32_t bits = 0; bits < 0x53800000u; bits += 1499) {
    float x;
    std::memcpy(&x, &bits, sizeof x);
    ExpectShortestRounded(x);
    ExpectShortestRounded(-x);
  }
}

// Only the letters code page 932 holds precomposed take a following mark;
// every other half-width character keeps the mark as a character of its own.
TEST(Format, ToFullWidthComposesExactlyTheLettersCodePage932Holds) {
  const std::string composed = "ガギグゲゴザジズゼゾダヂヅデドバビブベボヴパピプペポ";
  int seen = 0;
  for (int b = 0xA1; b <= 0xDF; ++b) {  // the half-width katakana of code page 932
    const std::string kana = Cp932ToUtf8(std::string(1, static_cast<char>(b)));
    for (const char* mark : {"ﾞ", "ﾟ"}) {
      const std::string got = ToFullWidth(kana + mark);
      const bool merged = got.size() == 3;
      seen += merged;
      EXPECT_EQ(got, merged ? got : ToFullWidth(kana) + ToFullWidth(mark)) << kana << mark;
      EXPECT_TRUE(!merged || composed.find(got) != std::string::npos) << kana << mark;
      EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932(got)), got) << "not in code page 932";
    }
  }
  EXPECT_EQ(seen, 26);
}

}  // namespace
