#pragma once
#include <cstdint>

// Windows code page 932 (Shift_JIS as Windows maps it), one code at a time,
// from the system's own tables.

/// The character of a code of one or two bytes, or 〓 (U+3013) when it has none.
char16_t DecodeCp932Code(const char* bytes, int length);
/// The code of a BMP character (one byte, or lead << 8 | trail), or 〓's code 0x81AC when it has none.
uint16_t EncodeCp932Code(char16_t c);
