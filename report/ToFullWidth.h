#pragma once
#include <string>
#include <string_view>

/// Half-width to full-width as Japanese Windows converts it: ASCII to the
/// full-width forms, space to U+3000, half-width katakana to katakana with the
/// sound marks composed where a precomposed letter exists (ｶﾞ ガ, ﾊﾟ パ, ｳﾞ ヴ),
/// lone marks to ゛ ゜. Everything else is copied unchanged.
std::string ToFullWidth(std::string_view text);
