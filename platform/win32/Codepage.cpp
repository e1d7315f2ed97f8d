#include "platform/Codepage.h"

#include <windows.h>

// Windows' own code page 932 tables, asked without best-fit guesses: a code
// with no character, or a character with no code, is told as none.

namespace {

constexpr char16_t kGeta = u'\u3013';

}  // namespace

char16_t DecodeCp932Code(const char* bytes, int length) {
  wchar_t out[4];
  const int n = ::MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes, length, out, 4);
  return n == 1 ? static_cast<char16_t>(out[0]) : kGeta;
}

uint16_t EncodeCp932Code(char16_t c) {
  const wchar_t in = static_cast<wchar_t>(c);
  char out[4];
  BOOL defaulted = FALSE;
  const int n = ::WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, &in, 1, out, 4, nullptr, &defaulted);
  if (defaulted || n < 1 || n > 2) return 0x81AC;
  const auto first = static_cast<unsigned char>(out[0]);
  return n == 1 ? first : static_cast<uint16_t>(first << 8 | static_cast<unsigned char>(out[1]));
}
