#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// Print forms shared by the roster, racer and index pages.

/// "前" for 1, "後" for 2, "" otherwise.
std::string GetKiName(int16_t intKi);
/// Per-thousand folder of a racer's page: ".\4000" (relative, as links show it)
/// or outputFolder/4000 with the platform separator (absolute, on disk).
std::string GetSensyuFolder(int16_t intSensyuNo, bool absolute, const std::filesystem::path& outputFolder);
/// A racer page linked from the site's top folder, in the web's form: "4000/4321.html".
std::string RacerPageUrl(const std::string& no);
/// "2020年11月1日" from "20201101"; "" when shorter than 8 characters.
std::string FormatYmd8(std::string_view ymd);
/// "S57年11月19日" from "S571119"; "" when shorter than 7 characters.
std::string FormatYmd7(std::string_view ymd);
/// "(-)" when equal, "(+5)" or "(-3)" otherwise.
std::string FormatDiff(int intNew, int intOld);
/// Numeric print form of an integer written into a page: " 170 ", "-5 ".
std::string PrintForm(int value);
/// Room PrintFormTo needs for any int.
inline constexpr std::size_t kPrintFormRoom = 13;
/// Writes the numeric print form at `out`, which has kPrintFormRoom bytes; returns its end.
char* PrintFormTo(char* out, int value);
/// Plain digits: "170", "-5".
std::string PlainDigits(int value);
/// Pattern "0.00": two decimals, halves away from zero on the shortest decimal form.
std::string Format00(float value);
/// Pattern "0.0": one decimal, same rounding.
std::string Format0(float value);
/// The common footer line without its line end.
std::string CommonFooter();
/// True for text that reads as a decimal number: blanks around it, an optional
/// sign and one optional decimal point; no exponent, hexadecimal or currency.
bool IsNumericText(std::string_view text);
/// The numeric text rounded half to even into 16 bits; throws cRunError
/// (13 not a number, 6 out of range).
int16_t TextToInt16(std::string_view text);
