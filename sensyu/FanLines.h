#pragma once
#include <string>
#include <string_view>
#include <vector>

// The fan handbook file as lines of raw code page 932 bytes. CR LF, a lone CR
// and a lone LF each end a line (files saved by Unix editors use LF); the last
// line may lack its end.

/// The lines of `bytes`, without their line ends; views into `bytes`.
std::vector<std::string_view> SplitLines(std::string_view bytes);
/// True when the line is empty or holds only spaces.
bool IsBlankLine(std::string_view line);
/// The first four characters of the decoded line: the racer number of a record.
std::string LineKey(std::string_view line);
