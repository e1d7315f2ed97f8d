#include "sensyu/Cp932.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/Codepage.h"

// The system's code page 932 tables are the source of every mapping, asked
// once per code and remembered. The loops around them keep the single bytes
// 0x00-0x7F as they are, as Windows does. Pages are mostly ASCII markup, and
// converting them whole through UTF-16 cost more than writing them.

namespace {

constexpr char16_t kGeta = u'\u3013';  // 〓

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

class cCp932Memo {
 public:
  cCp932Memo() : m_Chars(0x10000, 0), m_Codes(0x10000, kNoCode) {}

  char16_t Decode(unsigned char lead, unsigned char trail) {
    char16_t& c = m_Chars[static_cast<std::size_t>(lead << 8 | trail)];
    if (c == 0) {
      const char bytes[] = {static_cast<char>(lead), static_cast<char>(trail)};
      c = DecodeCp932Code(bytes, trail ? 2 : 1);
    }
    return c;
  }
  uint16_t Encode(char16_t c) {
    uint16_t& code = m_Codes[c];
    if (code == kNoCode) code = EncodeCp932Code(c);
    return code;
  }

 private:
  static constexpr uint16_t kNoCode = 0xFFFF;  // no code page 932 code starts with 0xFF
  std::vector<char16_t> m_Chars;               // [lead << 8 | trail], single bytes at trail 0
  std::vector<uint16_t> m_Codes;               // [BMP character]
};

cCp932Memo& Memo() {
  thread_local cCp932Memo memo;
  return memo;
}

// The next code point of well-formed UTF-8, or nothing at a malformed byte.
std::optional<char32_t> NextCodePoint(std::string_view s, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(s[pos]);
  const std::size_t len = lead < 0x80 ? 1 : lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
  if (len == 0 || pos + len > s.size()) return std::nullopt;
  char32_t c = len == 1 ? lead : lead & (0x7Fu >> len);
  for (std::size_t i = 1; i < len; ++i) {
    const auto cont = static_cast<unsigned char>(s[pos + i]);
    if ((cont & 0xC0) != 0x80) return std::nullopt;
    c = c << 6 | (cont & 0x3F);
  }
  constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kLeast[len] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  pos += len;
  return c;
}

/// The code of a character whose JIS form other Shift_JIS converters give in
/// place of the one Windows reads, or 0.
uint16_t JisFormCode(char32_t c) {
  switch (c) {
    case U'\u2014': return 0x815C;  // EM DASH: Windows reads HORIZONTAL BAR
    case U'\u301C': return 0x8160;  // WAVE DASH: FULLWIDTH TILDE
    case U'\u2016': return 0x8161;  // DOUBLE VERTICAL LINE: PARALLEL TO
    case U'\u2212': return 0x817C;  // MINUS SIGN: FULLWIDTH HYPHEN-MINUS
    case U'\u00A2': return 0x8191;  // CENT SIGN: FULLWIDTH CENT SIGN
    case U'\u00A3': return 0x8192;  // POUND SIGN: FULLWIDTH POUND SIGN
    case U'\u00AC': return 0x81CA;  // NOT SIGN: FULLWIDTH NOT SIGN
    default: return 0;
  }
}

/// Length of the run of ASCII bytes starting at `pos`.
std::size_t AsciiRun(std::string_view s, std::size_t pos) {
  std::size_t end = pos;
  for (uint64_t word = 0; end + 8 <= s.size(); end += 8) {  // eight bytes at a time
    std::memcpy(&word, s.data() + end, 8);
    if (word & 0x8080808080808080u) break;
  }
  while (end < s.size() && static_cast<unsigned char>(s[end]) < 0x80) ++end;
  return end - pos;
}

}  // namespace

void AppendUtf8(std::string& out, char16_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | c >> 6));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | c >> 12));
    out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string Cp932ToUtf8(std::string_view bytes) {
  if (IsAscii(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
    } else if (IsLeadByte(b) && i + 1 < bytes.size() && IsTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
      AppendUtf8(out, Memo().Decode(b, static_cast<unsigned char>(bytes[++i])));
    } else {
      // A lone lead byte gives up only itself: the byte after it is read anew.
      AppendUtf8(out, IsLeadByte(b) ? kGeta : Memo().Decode(b, 0));
    }
  }
  return out;
}

std::string Utf8ToCp932(std::string_view utf8) {
  std::string out;
  AppendCp932(out, utf8);
  return out;
}

void AppendCp932(std::string& out, std::string_view utf8) {
  const std::size_t start = out.size();
  // Never longer than twice the UTF-8: a broken byte becomes the two bytes of 〓.
  out.resize(start + utf8.size() * 2);
  char* dst = out.data() + start;
  const auto put = [&dst](uint16_t code) {
    if (code > 0xFF) *dst++ = static_cast<char>(code >> 8);
    *dst++ = static_cast<char>(code & 0xFF);
  };
  cCp932Memo* memo = nullptr;  // looked up at the first character that needs it
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::size_t ascii = AsciiRun(utf8, pos);
    std::memcpy(dst, utf8.data() + pos, ascii);
    dst += ascii;
    pos += ascii;
    if (pos == utf8.size()) break;
    const auto c = NextCodePoint(utf8, pos);
    if (!c) {
      put(0x81AC);  // a broken UTF-8 byte
      ++pos;
    } else if (*c > 0xFFFF) {
      put(0x81AC);  // nothing outside the BMP is in code page 932
    } else {
      if (memo == nullptr) memo = &Memo();
      put(memo->Encode(static_cast<char16_t>(*c)));
    }
  }
  out.resize(static_cast<std::size_t>(dst - out.data()));
}

std::optional<std::string> Utf8ToCp932Strict(std::string_view utf8) {
  // Never longer than the UTF-8: no character takes more bytes in code page 932.
  std::string out(utf8.size(), '\0');
  char* dst = out.data();
  cCp932Memo& memo = Memo();
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::size_t ascii = AsciiRun(utf8, pos);
    std::memcpy(dst, utf8.data() + pos, ascii);
    dst += ascii;
    pos += ascii;
    if (pos == utf8.size()) break;
    const auto c = NextCodePoint(utf8, pos);
    if (!c || *c > 0xFFFF) return std::nullopt;
    uint16_t code = memo.Encode(static_cast<char16_t>(*c));
    if (code == 0x81AC && *c != char32_t{kGeta}) code = JisFormCode(*c);  // 〓's code also tells "none"
    if (code == 0) return std::nullopt;
    if (code > 0xFF) *dst++ = static_cast<char>(code >> 8);
    *dst++ = static_cast<char>(code & 0xFF);
  }
  out.resize(static_cast<std::size_t>(dst - out.data()));
  return out;
}

bool IsMultiByteUtf8(std::string_view text) {
  bool beyondAscii = false;
  for (std::size_t pos = AsciiRun(text, 0); pos < text.size(); pos += AsciiRun(text, pos)) {
    if (!NextCodePoint(text, pos)) return false;  // code page 932 text ends here, mostly at its first kanji
    beyondAscii = true;
  }
  return beyondAscii;
}

std::string_view FirstChars(std::string_view utf8, std::size_t count) {
  std::size_t pos = 0;
  for (std::size_t n = 0; n < count && pos < utf8.size(); ++n) {
    ++pos;
    while (pos < utf8.size() && (static_cast<unsigned char>(utf8[pos]) & 0xC0) == 0x80) ++pos;
  }
  return utf8.substr(0, pos);
}
