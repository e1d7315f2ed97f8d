#include "sensyu/FanArchive.h"

#include <lhasa.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

// liblhasa reads through callbacks; these serve the archive from memory, so
// no temporary file is needed and no read can go past the caller's bytes.
struct cMemorySource {
  std::string_view bytes;
  std::size_t pos = 0;
  bool overran = false;  // a skip wanted more than is left: a member was cut
};

int ReadMemory(void* handle, void* buf, std::size_t len) {
  auto* source = static_cast<cMemorySource*>(handle);
  const std::size_t n = std::min({len, source->bytes.size() - source->pos, std::size_t{INT_MAX}});
  std::memcpy(buf, source->bytes.data() + source->pos, n);
  source->pos += n;
  return static_cast<int>(n);
}

// Our own skip: liblhasa 0.3.1's fallback skip loops forever when the read
// returns 0 at the end of a cut archive.
int SkipMemory(void* handle, std::size_t len) {
  auto* source = static_cast<cMemorySource*>(handle);
  if (len > source->bytes.size() - source->pos) {
    source->pos = source->bytes.size();
    source->overran = true;
    return 0;
  }
  source->pos += len;
  return 1;
}

constexpr LHAInputStreamType kMemoryStream = {ReadMemory, SkipMemory, nullptr};

struct cStreamFree {
  void operator()(LHAInputStream* s) const { lha_input_stream_free(s); }
};
struct cReaderFree {
  void operator()(LHAReader* r) const { lha_reader_free(r); }
};

// One pass over the archive's headers. The source must outlive the reader.
class cArchiveReader {
 public:
  explicit cArchiveReader(std::string_view archive) : source_{archive, 0} {
    stream_.reset(lha_input_stream_new(&kMemoryStream, &source_));
    if (stream_) reader_.reset(lha_reader_new(stream_.get()));
    // Plain: every header is returned once, as stored; no replayed directories.
    if (reader_) lha_reader_set_dir_policy(reader_.get(), LHA_READER_DIR_PLAIN);
  }
  LHAReader* get() const { return reader_.get(); }
  // Only regular files count as members; -lhd- marks directories and links.
  LHAFileHeader* NextMember() {
    LHAFileHeader* header = nullptr;
    while (reader_ && (header = lha_reader_next_file(reader_.get())) != nullptr) {
      if (std::strcmp(header->compress_method, LHA_COMPRESS_TYPE_DIR) != 0 && header->filename) break;
    }
    return header;
  }
  bool Overran() const { return source_.overran; }
  // Just after a header this is where the member's compressed data starts.
  std::size_t Position() const { return source_.pos; }

 private:
  cMemorySource source_;
  std::unique_ptr<LHAInputStream, cStreamFree> stream_;
  std::unique_ptr<LHAReader, cReaderFree> reader_;
};

bool IsFanName(std::string_view name) {
  const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  const auto startsWith = [&](std::string_view s, std::size_t at, std::string_view lit) {
    return std::equal(lit.begin(), lit.end(), s.begin() + static_cast<std::ptrdiff_t>(at),
                      [&](char a, char b) { return lower(b) == a; });
  };
  return name.size() >= 7 && startsWith(name, 0, "fan") && startsWith(name, name.size() - 4, ".txt");
}

struct cChoice {
  eArchiveFailure failure = eArchiveFailure::None;
  std::size_t index = 0;  // among the regular members
};

// Which member to convert: the first named fan*.txt, else the only one.
// Members before the fan member were skipped unread, so a cut among them
// shows only as a skip past the end.
cChoice ChooseMember(std::string_view archive) {
  cArchiveReader reader(archive);
  std::size_t count = 0;
  while (LHAFileHeader* header = reader.NextMember()) {
    if (IsFanName(header->filename)) return {eArchiveFailure::None, count};
    ++count;
  }
  if (reader.Overran()) return {eArchiveFailure::Damaged};
  return {count == 1 ? eArchiveFailure::None : eArchiveFailure::NoFanMember};
}

// The LHA CRC-16 (polynomial 0xA001, reflected, start 0): lha_reader_read
// decompresses without checking it, so the caller has to.
uint16_t Crc16(std::string_view bytes, uint16_t start = 0) {
  static constexpr auto kTable = [] {
    std::array<uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
      unsigned c = i;
      for (int bit = 0; bit < 8; ++bit) c = (c & 1u) ? (c >> 1) ^ 0xA001u : c >> 1;
      table[i] = static_cast<uint16_t>(c);
    }
    return table;
  }();
  unsigned crc = start;
  for (const char ch : bytes) crc = (crc >> 8) ^ kTable[(crc ^ static_cast<unsigned char>(ch)) & 0xFFu];
  return static_cast<uint16_t>(crc);
}

// Only the methods the fan file is published with reach a decoder; the
// others (lh1, lzs, pm2, ...) are never needed and only widen what hostile
// bytes can reach inside liblhasa.
bool IsKnownMethod(const char* method) {
  for (const char* known : {"-lh0-", "-lh5-", "-lh6-", "-lh7-"}) {
    if (std::strcmp(method, known) == 0) return true;
  }
  return false;
}

// Gives `bytes` room for exactly `want` bytes; std::string's own growth may
// double past the cap.
void GrowExactly(std::string& bytes, std::size_t want) {
  std::string bigger;
  bigger.reserve(want);
  bigger.append(bytes);
  bytes.swap(bigger);
}

// Decompresses the current member, never holding more than `length` bytes.
// Room grows with what the data really yields, so a lying header costs at
// most what it lies about, and `length` is already within the cap.
std::string ReadMember(LHAReader* reader, std::size_t length) {
  constexpr std::size_t kFirstRoom = std::size_t{1} << 16;
  std::string bytes;
  while (bytes.size() < length) {
    if (bytes.size() == bytes.capacity()) {
      GrowExactly(bytes, std::min(length, std::max(kFirstRoom, 2 * bytes.capacity())));
    }
    const std::size_t old = bytes.size();
    const std::size_t room = std::min(bytes.capacity(), length) - old;
    bytes.resize(old + room);  // within capacity: no reallocation
    const std::size_t got = lha_reader_read(reader, bytes.data() + old, room);
    bytes.resize(old + got);
    if (got == 0) break;
  }
  return bytes;
}

cArchiveMember Fail(eArchiveFailure failure, std::string name = {}) { return {failure, std::move(name), {}}; }

std::string StoredName(const LHAFileHeader& header) {
  return std::string(header.path ? header.path : "") + header.filename;
}

cArchiveMember ExtractAt(std::string_view archive, std::size_t index, std::size_t maxBytes) {
  cArchiveReader reader(archive);
  LHAFileHeader* header = reader.NextMember();
  for (std::size_t i = 0; header && i < index; ++i) header = reader.NextMember();
  if (!header) return Fail(eArchiveFailure::Damaged);
  std::string name = StoredName(*header);
  if (header->length > maxBytes) return Fail(eArchiveFailure::TooLarge, std::move(name));
  if (!IsKnownMethod(header->compress_method)) return Fail(eArchiveFailure::Damaged, std::move(name));
  std::string bytes = ReadMember(reader.get(), header->length);
  if (bytes.size() != header->length || Crc16(bytes) != header->crc) {
    return Fail(eArchiveFailure::Damaged, std::move(name));
  }
  return {eArchiveFailure::None, std::move(name), std::move(bytes)};
}

// Decompresses the current member piece by piece, keeping only its length and CRC.
bool MemberIsWhole(LHAReader* reader, const LHAFileHeader& header) {
  std::string piece(std::size_t{1} << 16, '\0');
  std::size_t length = 0;
  uint16_t crc = 0;
  while (length <= header.length) {
    const std::size_t got = lha_reader_read(reader, piece.data(), piece.size());
    if (got == 0) break;
    crc = Crc16(std::string_view(piece.data(), got), crc);
    length += got;
  }
  return length == header.length && crc == header.crc;
}

}  // namespace

bool IsLzhArchive(std::string_view bytes) {
  return bytes.size() >= 7 && bytes.substr(2, 3) == "-lh" && bytes[6] == '-';
}

cArchiveMember ExtractFanMember(std::string_view archive, std::size_t maxBytes) {
  // liblhasa would otherwise hunt up to 64 KiB into any bytes for a
  // self-extractor's archive; ours must start with its first header.
  if (!IsLzhArchive(archive)) return Fail(eArchiveFailure::Damaged);
  const cChoice choice = ChooseMember(archive);
  if (choice.failure != eArchiveFailure::None) return Fail(choice.failure);
  return ExtractAt(archive, choice.index, maxBytes);
}

eArchiveFailure CheckArchive(std::string_view archive, std::size_t maxBytes) {
  if (!IsLzhArchive(archive)) return eArchiveFailure::Damaged;
  cArchiveReader reader(archive);
  std::size_t end = 0, stated = 0;
  while (LHAFileHeader* header = lha_reader_next_file(reader.get())) {
    end = reader.Position() + header->compressed_length;
    if (end > archive.size()) return eArchiveFailure::Damaged;
    if (std::strcmp(header->compress_method, LHA_COMPRESS_TYPE_DIR) == 0) continue;
    if (header->length > maxBytes - stated) return eArchiveFailure::TooLarge;
    stated += header->length;
    if (!IsKnownMethod(header->compress_method) || !MemberIsWhole(reader.get(), *header)) {
      return eArchiveFailure::Damaged;
    }
  }
  // liblhasa stops alike at the end mark and at a broken or cut header; only the mark is a 0 byte.
  const std::string_view rest = archive.substr(end);
  return rest.empty() || rest[0] != '\0' || IsLzhArchive(rest) ? eArchiveFailure::Damaged : eArchiveFailure::None;
}
