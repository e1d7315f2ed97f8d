#pragma once
#include <filesystem>
#include <string>
#include <vector>

/// A file under tests/data/.
std::filesystem::path DataPath(const std::string& relative);
/// The whole file's bytes.
std::string ReadBytes(const std::filesystem::path& file);
/// The rows of a whitespace-separated table under tests/data/; '#' starts a comment line.
std::vector<std::vector<std::string>> ReadRows(const std::string& relative);
/// Expects `actual` to equal the file under tests/data/; with TOBIREX_REGENERATE=1 in the
/// environment writes it instead. On a mismatch tells the first differing offset.
void ExpectMatchesFile(const std::string& actual, const std::string& relative);
