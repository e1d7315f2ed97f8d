#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// A file that must never replace one of the user's: written whole under a
// hidden name beside its place, then given its real name only if that name
// is free. A half-written file never bears the real name.
class cNewFile {
 public:
  /// Writes and flushes `bytes` into a new hidden file in `folder` whose name
  /// starts with `prefix`. Throws cFileFailure; nothing is left then.
  cNewFile(const std::filesystem::path& folder, const std::string& prefix, std::string_view bytes);
  /// Removes the hidden file unless it was placed.
  ~cNewFile();
  cNewFile(const cNewFile&) = delete;
  cNewFile& operator=(const cNewFile&) = delete;

  /// Gives the file the name `target` in the same folder; false, with
  /// nothing replaced, when that name is taken. Throws cFileFailure.
  bool PlaceAs(const std::filesystem::path& target);
  /// Gives the file the name `target` in the same folder, replacing the file
  /// of that name in one step. Throws cFileFailure, the old file left as it was.
  void ReplaceAs(const std::filesystem::path& target);

 private:
  /// Closes the file and removes it unless it was placed.
  void Discard();

  std::filesystem::path m_Temp;
  std::intptr_t m_Handle = -1;  // held open (and locked) until placed, so others see it is in use
  bool m_Placed = false;
};

/// Removes the hidden files starting with `prefix` in `folder` that no
/// running program holds: what a killed program left.
void RemoveStaleNewFiles(const std::filesystem::path& folder, const std::string& prefix);
