#include "sensyu/Cp932.h"

#include <gtest/gtest.h>

namespace {

struct Row {
  const char* utf8;
  std::string cp932;
};

// The characters where code page 932 differs from plain Shift_JIS, and the
// kanji whose second byte is 0x5C (a backslash to a byte-minded reader).
TEST(Cp932, EncodesAndDecodesWindowsMappings) {
  const Row rows[] = {
      {"～", "\x81\x60"},       {"■", "\x81\xA1"},        {"\u3000", "\x81\x40"},
      {"\\", "\x5C"},           {"~", "\x7E"},            {"圭", "\x8C\x5C"},
      {"表", "\x95\x5C"},       {"能", "\x94\x5C"},       {"ソ", "\x83\x5C"},
      {"ｶﾞ", "\xB6\xDE"},       {"①", "\x87\x40"},        {"纊", "\xFA\x5C"},
      {"ⅰ", "\xFA\x40"},       {"－", "\x81\x7C"},       {"静　岡", "\x90\xC3\x81\x40\x89\xAA"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.utf8);
    EXPECT_EQ(Utf8ToCp932(r.utf8), r.cp932);
    EXPECT_EQ(Cp932ToUtf8(r.cp932), r.utf8);
  }
}

// NEC-selected IBM extensions duplicate the IBM block; Windows reads both and
// writes the IBM form.
TEST(Cp932, DecodesNecSelectedExtensions) {
  EXPECT_EQ(Cp932ToUtf8("\xED\x40"), "纊");
  EXPECT_EQ(Cp932ToUtf8("\xEE\xEF"), "ⅰ");
}

TEST(Cp932, InvalidBytesDecodeToGetaAndNeverSwallowAscii) {
  EXPECT_EQ(Cp932ToUtf8("\xFF"), "〓");
  EXPECT_EQ(Cp932ToUtf8("A\x81"), "A〓");          // lead byte cut off at the end
  EXPECT_EQ(Cp932ToUtf8("\x81\x20" "B"), "〓 B");  // bad trail byte: the blank survives
  EXPECT_EQ(Cp932ToUtf8(std::string("\x00", 1)), std::string("\x00", 1));
}

// Windows keeps every single byte below 0x80 as it is, controls included.
TEST(Cp932, ControlBytesStayThemselvesBesideKanji) {
  const std::string bytes = "\x1A\x1C\x7F\x8C\x5C";
  const std::string text = Cp932ToUtf8(bytes);
  EXPECT_EQ(text, "\x1A\x1C\x7F圭");
  EXPECT_EQ(Utf8ToCp932(text), bytes);
}

TEST(Cp932, UnmappableCharactersEncodeToGeta) {
  EXPECT_EQ(Utf8ToCp932("😀"), "\x81\xAC");
  EXPECT_EQ(Utf8ToCp932("a\xFF" "b"), "a\x81\xAC" "b");  // broken UTF-8
  EXPECT_EQ(Utf8ToCp932("한"), "\x81\xAC");
}

TEST(Cp932, EveryDecodedTextEncodesToValidBytes) {
  // Any two-byte pattern round-trips to bytes that decode to the same text.
  for (int lead = 0x80; lead <= 0xFF; ++lead) {
    for (int trail = 0x00; trail <= 0xFF; ++trail) {
      std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
      std::string text = Cp932ToUtf8(bytes);
      std::string again = Utf8ToCp932(text);
      EXPECT_EQ(Cp932ToUtf8(again), text) << std::hex << lead << " " << trail;
    }
  }
}

// Pages are encoded a character at a time from a memo of the converter's
// answers; a whole line of kanji, kana and markup must come out as the
// characters' own codes in order.
TEST(Cp932, MixedTextEncodesCharacterByCharacter) {
  EXPECT_EQ(Utf8ToCp932("<TD>山田　太郎</TD>ｱ"), "<TD>\x8E\x52\x93\x63\x81\x40\x91\xBE\x98\x59</TD>\xB1");
  EXPECT_EQ(Utf8ToCp932("a\xED\xA0\x80" "b"), "a\x81\xAC\x81\xAC\x81\xAC" "b");  // an encoded surrogate
  EXPECT_EQ(Utf8ToCp932("\xF0\x9F\x98\x80x"), "\x81\xACx");
}

TEST(Cp932, FirstCharsCountsCodePoints) {
  EXPECT_EQ(FirstChars("ｱｲｳｴｵ", 4), "ｱｲｳｴ");
  EXPECT_EQ(FirstChars("12", 4), "12");
  EXPECT_EQ(FirstChars("選手名前", 2), "選手");
  EXPECT_EQ(FirstChars("", 4), "");
}

}  // namespace
