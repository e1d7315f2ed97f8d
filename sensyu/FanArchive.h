#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The official site publishes the fan handbook file only as an LZH archive
// (fanYYMM.lzh holding fanYYMM.txt). The archive is read from memory and its
// member is decompressed into memory; nothing is written to disk.

/// True when the bytes begin as an LZH archive does: a method id "-lh?-" at
/// byte 2 of the first header. Judged by content, never by the file's name.
bool IsLzhArchive(std::string_view bytes);

enum class eArchiveFailure {
  None,
  NoFanMember,  // no member named fan*.txt (any case), and not exactly one member
  Damaged,      // not an LZH archive, a header or the compressed data is broken or cut, the
                // member fails its checksum, or it uses a method other than lh0/lh5/lh6/lh7
  TooLarge,     // the member would exceed maxBytes
};

struct cArchiveMember {
  eArchiveFailure failure = eArchiveFailure::None;
  std::string name;   // the member's name as stored
  std::string bytes;  // its content, when failure is None
};

/// The fan handbook member of the archive: the first regular file whose name
/// matches fan*.txt in any case, else the only regular file. Its length and
/// CRC-16 are verified. A stated length above maxBytes is TooLarge before any
/// decompressing, and no more than that length is ever held.
cArchiveMember ExtractFanMember(std::string_view archive, std::size_t maxBytes);

/// Whether the archive is whole: every member decompresses (lh0/lh5/lh6/lh7
/// only) to its stated length and CRC-16, and the 0 byte that ends an archive
/// follows the last one, so a body cut between two members is Damaged too.
/// Members stating more than maxBytes in all are TooLarge before decompressing.
eArchiveFailure CheckArchive(std::string_view archive, std::size_t maxBytes);
