#pragma once
#include <optional>
#include <string>
#include <string_view>

// Windows code page 932 (Shift_JIS as Windows maps it) at the file boundary.
// Text inside the program is UTF-8.
//
// Bytes that are not valid code page 932 decode to "〓" (U+3013 GETA MARK, the
// traditional Japanese mark for a missing character); characters that code
// page 932 cannot hold encode to "〓" (0x81 0xAC). Neither direction throws,
// and the encoded output is always valid code page 932.

/// UTF-8 text of the code page 932 bytes; invalid bytes become "〓".
std::string Cp932ToUtf8(std::string_view bytes);
/// Code page 932 bytes of the UTF-8 text; unmappable characters become "〓".
std::string Utf8ToCp932(std::string_view utf8);
/// Appends the code page 932 bytes of the UTF-8 text to `out`.
void AppendCp932(std::string& out, std::string_view utf8);
/// Code page 932 bytes of a fan file saved as UTF-8, or nothing when the text
/// is broken or holds a character code page 932 cannot hold. The JIS forms
/// other converters give (WAVE DASH for ～, and six more) take the code the
/// original held.
std::optional<std::string> Utf8ToCp932Strict(std::string_view utf8);
/// True when the text is well-formed UTF-8 and holds a character beyond ASCII:
/// code page 932 text with Japanese in it practically never is.
bool IsMultiByteUtf8(std::string_view text);
/// Appends the UTF-8 form of a BMP character.
void AppendUtf8(std::string& out, char16_t c);
/// True when every byte is below 0x80: such text is the same in UTF-8 and code page 932.
inline bool IsAscii(std::string_view text) {
  unsigned char bits = 0;
  for (char c : text) bits |= static_cast<unsigned char>(c);  // no early exit: the loop vectorises
  return bits < 0x80;
}
/// The first `count` characters (code points) of UTF-8 text, or all of it.
std::string_view FirstChars(std::string_view utf8, std::size_t count);
