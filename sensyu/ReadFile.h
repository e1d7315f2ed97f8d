#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

// Reading the input file: the program's only file read.

/// The whole file's bytes; throws cRunError with the system's reason on failure.
std::string ReadWholeFile(const std::filesystem::path& file);
/// True when a regular file (symbolic links followed) is found at `file`.
bool IsPlainFile(const std::filesystem::path& file);
/// The file's size in bytes, or nothing when it cannot be told.
std::optional<std::uintmax_t> FileSize(const std::filesystem::path& file);
