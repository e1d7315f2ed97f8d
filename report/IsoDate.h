#pragma once
#include <optional>
#include <string>
#include <string_view>

// Dates of the fan file in ISO 8601 form for the data out.

/// "1982-11-19" from a birth date in era form ("S571119": M, T, S, H or R, the
/// era's year, month, day), from "20241101" or from the older layout's
/// "241101". Nothing for text that is no date, blanks included.
std::optional<std::string> IsoDate(std::string_view text);
/// A two-digit year of the older layout with its century: 2000-2068 up to 68,
/// 1969-1999 from 69 on, as POSIX reads "%y".
int FullYear(int year);
