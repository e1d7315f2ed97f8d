#include "report/ToFullWidth.h"

#include <array>
#include <cstdint>

#include "sensyu/Cp932.h"

namespace {

// Full-width forms of U+FF61 (｡) to U+FF9F (ﾟ), in code point order.
constexpr std::array<char16_t, 63> kKatakana = {
    u'。', u'「', u'」', u'、', u'・', u'ヲ', u'ァ', u'ィ', u'ゥ', u'ェ', u'ォ', u'ャ', u'ュ', u'ョ', u'ッ', u'ー',
    u'ア', u'イ', u'ウ', u'エ', u'オ', u'カ', u'キ', u'ク', u'ケ', u'コ', u'サ', u'シ', u'ス', u'セ', u'ソ', u'タ',
    u'チ', u'ツ', u'テ', u'ト', u'ナ', u'ニ', u'ヌ', u'ネ', u'ノ', u'ハ', u'ヒ', u'フ', u'ヘ', u'ホ', u'マ', u'ミ',
    u'ム', u'メ', u'モ', u'ヤ', u'ユ', u'ヨ', u'ラ', u'リ', u'ル', u'レ', u'ロ', u'ワ', u'ン', u'゛', u'゜',
};
constexpr char32_t kVoicedMark = 0xFF9E;      // ﾞ
constexpr char32_t kSemiVoicedMark = 0xFF9F;  // ﾟ

// The sound marks compose only where code page 932 holds the precomposed
// letter: カ行 サ行 タ行 ハ行 and ヴ. ヷ and ヺ are missing from it, so ﾜﾞ and
// ｦﾞ stay a letter and a mark, which a code page 932 page can still hold.
bool IsHaRow(char16_t kana) { return kana >= u'ハ' && kana <= u'ホ' && (kana - u'ハ') % 3 == 0; }

char16_t Voiced(char16_t kana) {
  if (kana == u'ウ') return u'ヴ';
  // カ to ト: each letter's voiced form follows it; ッ is the one small letter among them.
  bool kaToTo = kana >= u'カ' && kana <= u'ト' && kana != u'ッ';
  if (kaToTo || IsHaRow(kana)) return static_cast<char16_t>(kana + 1);
  return 0;
}

char16_t SemiVoiced(char16_t kana) { return IsHaRow(kana) ? static_cast<char16_t>(kana + 2) : 0; }

// The half-width katakana block U+FF61..U+FF9F at pos (EF BD A1..BF, EF BE 80..9F), or 0.
// Every other byte, valid or not, is copied as it stands.
char32_t HalfWidthKanaAt(std::string_view text, std::size_t pos) {
  if (pos + 3 > text.size()) return 0;
  auto b0 = static_cast<unsigned char>(text[pos]);
  auto b1 = static_cast<unsigned char>(text[pos + 1]);
  auto b2 = static_cast<unsigned char>(text[pos + 2]);
  if (b0 != 0xEF || (b2 & 0xC0) != 0x80) return 0;
  char32_t cp = 0xF000 | static_cast<char32_t>((b1 & 0x3F) << 6) | (b2 & 0x3F);
  if ((b1 & 0xC0) != 0x80 || cp < 0xFF61 || cp > 0xFF9F) return 0;
  return cp;
}

// A precomposed letter for kana followed by the mark at pos, or 0.
char16_t Composed(char16_t kana, std::string_view text, std::size_t pos) {
  char32_t mark = HalfWidthKanaAt(text, pos);
  if (mark == kVoicedMark) return Voiced(kana);
  if (mark == kSemiVoicedMark) return SemiVoiced(kana);
  return 0;
}

char16_t FullWidthAscii(char c) {
  if (c == ' ') return u'\u3000';
  if (c >= 0x21 && c <= 0x7E) return static_cast<char16_t>(c + 0xFEE0);
  return static_cast<unsigned char>(c);
}

}  // namespace

std::string ToFullWidth(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  std::size_t pos = 0;
  while (pos < text.size()) {
    char c = text[pos];
    if (static_cast<unsigned char>(c) < 0x80) {
      AppendUtf8(out, FullWidthAscii(c));
      ++pos;
      continue;
    }
    char32_t half = HalfWidthKanaAt(text, pos);
    if (half == 0) {
      out += c;
      ++pos;
      continue;
    }
    char16_t kana = kKatakana[half - 0xFF61];
    pos += 3;
    if (char16_t composed = Composed(kana, text, pos)) {
      kana = composed;
      pos += 3;
    }
    AppendUtf8(out, kana);
  }
  return out;
}
