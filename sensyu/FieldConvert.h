#pragma once
#include <cstdint>
#include <string_view>

// Numeric fields of a fan handbook record. A field holds a decimal integer
// with optional blanks around it and an optional sign right before the digits
// («  7», « -3», "7 "). Anything else, an empty or all-blank field included,
// throws cRunError::TypeMismatch (13); a value outside the 16-bit range
// throws cRunError::Overflow (6).

/// The field's integer as a 16-bit count.
int16_t FieldToInteger(std::string_view field);
/// The field's number ÷ 10 (one implied decimal), rounded once to float.
float FieldToTenths(std::string_view field);
/// The field's number ÷ 100 (two implied decimals), rounded once to float.
float FieldToHundredths(std::string_view field);
/// The field's number ÷ 100 rounded to the nearest integer, halves to even (5450 → 54, −250 → −2).
int16_t FieldToIndex(std::string_view field);

/// a + b as a 16-bit integer; throws cRunError::Overflow instead of wrapping.
int16_t Add16(int16_t a, int16_t b);
/// a × b as a 16-bit integer; throws cRunError::Overflow instead of wrapping.
int16_t Mul16(int16_t a, int16_t b);
