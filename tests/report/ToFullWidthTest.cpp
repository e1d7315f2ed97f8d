#include "report/ToFullWidth.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "sensyu/Cp932.h"

namespace {

std::string Utf8(char32_t cp) {
  std::string s;
  if (cp < 0x80) {
    s += static_cast<char>(cp);
  } else if (cp < 0x800) {
    s += static_cast<char>(0xC0 | (cp >> 6));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    s += static_cast<char>(0xE0 | (cp >> 12));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return s;
}

std::vector<std::string> Chars(std::string_view text) {
  std::vector<std::string> chars;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = 1;
    while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
    chars.emplace_back(text.substr(i, n));
    i += n;
  }
  return chars;
}

// U+FF61 ｡ to U+FF9F ﾟ, one full-width character each.
const std::vector<std::string> kFullKana = Chars(
    "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜");

TEST(ToFullWidth, EveryHalfWidthKatakanaAlone) {
  ASSERT_EQ(kFullKana.size(), 0xFF9Fu - 0xFF61u + 1);
  for (char32_t cp = 0xFF61; cp <= 0xFF9F; ++cp) {
    SCOPED_TRACE(Utf8(cp));
    EXPECT_EQ(ToFullWidth(Utf8(cp)), kFullKana[cp - 0xFF61]);
  }
}

TEST(ToFullWidth, PrintableAsciiAndSpace) {
  std::string ascii;
  for (char c = 0x21; c <= 0x7E; ++c) ascii += c;
  EXPECT_EQ(ToFullWidth(ascii),
            "！＂＃＄％＆＇（）＊＋，－．／０１２３４５６７８９：；＜＝＞？＠ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ"
            "［＼］＾＿｀ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ｛｜｝～");
  EXPECT_EQ(ToFullWidth(" "), "\u3000");
  EXPECT_EQ(ToFullWidth(std::string("\t\r\n\x7F\x00", 5)), std::string("\t\r\n\x7F\x00", 5));
}

// Only the letters code page 932 holds precomposed take a following mark;
// every other letter keeps the mark as a character of its own.
TEST(ToFullWidth, SoundMarksAfterEveryHalfWidthCharacter) {
  const std::map<std::string, std::string> composed = {
      {"ｶﾞ", "ガ"}, {"ｷﾞ", "ギ"}, {"ｸﾞ", "グ"}, {"ｹﾞ", "ゲ"}, {"ｺﾞ", "ゴ"}, {"ｻﾞ", "ザ"}, {"ｼﾞ", "ジ"},
      {"ｽﾞ", "ズ"}, {"ｾﾞ", "ゼ"}, {"ｿﾞ", "ゾ"}, {"ﾀﾞ", "ダ"}, {"ﾁﾞ", "ヂ"}, {"ﾂﾞ", "ヅ"}, {"ﾃﾞ", "デ"},
      {"ﾄﾞ", "ド"}, {"ﾊﾞ", "バ"}, {"ﾋﾞ", "ビ"}, {"ﾌﾞ", "ブ"}, {"ﾍﾞ", "ベ"}, {"ﾎﾞ", "ボ"}, {"ｳﾞ", "ヴ"},
      {"ﾊﾟ", "パ"}, {"ﾋﾟ", "ピ"}, {"ﾌﾟ", "プ"}, {"ﾍﾟ", "ペ"}, {"ﾎﾟ", "ポ"},
  };
  int composedSeen = 0;
  for (char32_t cp = 0xFF61; cp <= 0xFF9F; ++cp) {
    for (const char* mark : {"ﾞ", "ﾟ"}) {
      std::string input = Utf8(cp) + mark;
      SCOPED_TRACE(input);
      auto it = composed.find(input);
      std::string fullMark = std::string(mark) == "ﾞ" ? "゛" : "゜";
      std::string expected = it != composed.end() ? it->second : kFullKana[cp - 0xFF61] + fullMark;
      composedSeen += it != composed.end();
      std::string actual = ToFullWidth(input);
      EXPECT_EQ(actual, expected);
      EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932(actual)), actual) << "not in code page 932";
    }
  }
  EXPECT_EQ(composedSeen, static_cast<int>(composed.size()));
}

TEST(ToFullWidth, MarksInContext) {
  const std::pair<const char*, const char*> rows[] = {
      {"ｱｶﾞ ｲﾊﾟ", "アガ　イパ"},
      {"ｶﾞﾞ", "ガ゛"},
      {"ﾞｶ", "゛カ"},
      {"ﾊﾟﾟﾞ", "パ゜゛"},
      {"カﾞ", "カ゛"},  // a full-width letter does not take a half-width mark
      {"ﾜﾞｦﾞｯﾞ", "ワ゛ヲ゛ッ゛"},
      {"ｶ ﾞ", "カ　゛"},
      {"ｳﾞｨｯﾂ", "ヴィッツ"},
  };
  for (const auto& [input, expected] : rows) {
    SCOPED_TRACE(input);
    EXPECT_EQ(ToFullWidth(input), expected);
  }
}

TEST(ToFullWidth, OtherTextUnchanged) {
  for (const char* text : {"", "漢字かなカナ", "ＡＢ１２　～", "①〓㈱", "éü", "😀"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ToFullWidth(text), text);
  }
}

TEST(ToFullWidth, InvalidUtf8PassesThroughByteForByte) {
  const std::pair<std::string, std::string> rows[] = {
      {"\xFF", "\xFF"},
      {"\xEF\xBD", "\xEF\xBD"},                   // half-width letter cut short
      {"\xEF", "\xEF"},
      {"\xEF\xBD" "A", "\xEF\xBD" "Ａ"},
      {"\xBD\xB1", "\xBD\xB1"},                   // continuation bytes without a lead
      {"ｶ\xEF\xBE", "カ\xEF\xBE"},                // mark cut short after a letter
      {"\xEF\xBF\xBF", "\xEF\xBF\xBF"},
      {"\xEF\xBD\xA0", "\xEF\xBD\xA0"},           // U+FF60, just below the block
      {"\xEF\xBE\xA0", "\xEF\xBE\xA0"},           // U+FFA0, just above it
      {"\xEF\xFD\xB1", "\xEF\xFD\xB1"},
  };
  for (const auto& [input, expected] : rows) {
    SCOPED_TRACE(testing::PrintToString(input));
    EXPECT_EQ(ToFullWidth(input), expected);
  }
}

}  // namespace
