#pragma once
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

// The input of a run, read once before anything on disk is touched: a fan
// handbook file, or the LZH archive the official site publishes it in.

/// The largest input accepted: the largest real file is under 14 MiB.
inline constexpr std::size_t kMaxFanFileBytes = std::size_t{64} << 20;

enum class eFanInputFailure {
  None,
  Unreadable,      // the system refused to read it (reason, errorNumber)
  TooLarge,        // over kMaxFanFileBytes, the file or the archive's member
  NoFanMember,     // an archive without a fan handbook file
  DamagedArchive,  // an archive that is cut, broken or fails its checksum
  NoRacerRecord,   // no line that can be a racer record: not a fan file
  BeyondCp932,     // a UTF-8 copy holding a character code page 932 cannot hold
};

struct cFanInput {
  eFanInputFailure failure = eFanInputFailure::None;
  std::string bytes;  // the fan file's bytes when failure is None
  std::string reason;
  int errorNumber = 0;
};

/// The fan file's bytes from `file`, unpacked when it is an archive and back in
/// code page 932 when an editor saved it as UTF-8, or why it cannot be converted.
cFanInput ReadFanInput(const std::filesystem::path& file);
/// True when a line begins with four ASCII digits and is at least 403 bytes
/// long (the shorter, Old2 record): a file without one is no fan file.
bool HoldsRacerRecord(std::string_view bytes);
