#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

// Reading the input file: the program's only file read.

/// A file the system refused to read; Number() is the system's error number.
class cReadFailure : public std::runtime_error {
 public:
  explicit cReadFailure(int number);
  int Number() const { return m_Number; }

 private:
  int m_Number;
};

/// The whole file's bytes. Throws cReadFailure with the system's reason.
std::string ReadWholeFile(const std::filesystem::path& file);
/// True when a regular file (symbolic links followed) is found at `file`.
bool IsPlainFile(const std::filesystem::path& file);
/// The file's size in bytes, or nothing when it cannot be told.
std::optional<std::uintmax_t> FileSize(const std::filesystem::path& file);
