#include "sensyu/FanLines.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

#include "sensyu/Cp932.h"
#include "sensyu/RunError.h"

cRunError cRunError::FromErrno(int err) { return {err, std::strerror(err)}; }

namespace {
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
// True when one of the eight bytes of `word` is CR or LF.
bool HoldsLineEnd(uint64_t word) {
  constexpr uint64_t kOnes = 0x0101010101010101u;
  constexpr uint64_t kHighs = 0x8080808080808080u;
  const auto hasZeroByte = [](uint64_t v) { return (v - kOnes) & ~v & kHighs; };
  return hasZeroByte(word ^ (kOnes * '\n')) != 0 || hasZeroByte(word ^ (kOnes * '\r')) != 0;
}

// Where the line starting at `start` ends (its CR or LF), or npos. Records
// are hundreds of bytes long, so the search skips eight bytes at a time.
std::size_t LineEnd(std::string_view bytes, std::size_t start) {
  std::size_t i = start;
  for (uint64_t word = 0; i + 8 <= bytes.size(); i += 8) {
    std::memcpy(&word, bytes.data() + i, 8);
    if (HoldsLineEnd(word)) break;
  }
  for (; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' || bytes[i] == '\n') return i;
  }
  return std::string_view::npos;
}

}  // namespace

std::string ReadWholeFile(const std::filesystem::path& file) {
  errno = 0;
  std::unique_ptr<std::FILE, FileCloser> f(std::fopen(file.c_str(), "rb"));
  if (!f) throw cRunError::FromErrno(errno ? errno : EIO);
  std::string bytes;
  // Room for the whole file at once when its size is known; reading goes on
  // to the real end either way.
  std::error_code ec;
  const auto size = std::filesystem::file_size(file, ec);
  if (!ec && size < (std::uintmax_t{1} << 31)) bytes.reserve(static_cast<std::size_t>(size) + 1);
  char buf[1 << 16];
  std::size_t got = 0;
  while ((got = std::fread(buf, 1, sizeof buf, f.get())) > 0) bytes.append(buf, got);
  if (std::ferror(f.get())) throw cRunError::FromErrno(errno ? errno : EIO);
  return bytes;
}

std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = LineEnd(bytes, start);
    if (end == std::string_view::npos) {
      lines.push_back(bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 1;
    if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
  }
  return lines;
}

bool IsBlankLine(std::string_view line) { return line.find_first_not_of(' ') == std::string_view::npos; }

std::string LineKey(std::string_view line) {
  const std::string_view first4 = line.substr(0, 4);
  // The usual racer number: four ASCII bytes are four characters as they stand.
  if (std::all_of(first4.begin(), first4.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    return std::string(first4);
  }
  // Four characters take at most eight bytes; a character cut at the eighth
  // byte lies after the fourth and is dropped by FirstChars.
  std::string head = Cp932ToUtf8(line.substr(0, 8));
  return std::string(FirstChars(head, 4));
}

bool IsPlainFile(const std::filesystem::path& file) {
  std::error_code ec;
  return std::filesystem::is_regular_file(file, ec);
}
