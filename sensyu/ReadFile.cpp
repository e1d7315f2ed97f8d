#include "sensyu/ReadFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

#include "sensyu/RunError.h"

cRunError cRunError::FromErrno(int err) { return {err, std::strerror(err)}; }

namespace {
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
}  // namespace

std::string ReadWholeFile(const std::filesystem::path& file) {
  errno = 0;
  std::unique_ptr<std::FILE, FileCloser> f(std::fopen(file.c_str(), "rb"));
  if (!f) throw cRunError::FromErrno(errno ? errno : EIO);
  std::string bytes;
  // Room for the whole file at once when its size is known; reading goes on
  // to the real end either way.
  const auto size = FileSize(file);
  if (size && *size < (std::uintmax_t{1} << 31)) bytes.reserve(static_cast<std::size_t>(*size) + 1);
  char buf[1 << 16];
  std::size_t got = 0;
  while ((got = std::fread(buf, 1, sizeof buf, f.get())) > 0) bytes.append(buf, got);
  if (std::ferror(f.get())) throw cRunError::FromErrno(errno ? errno : EIO);
  return bytes;
}

bool IsPlainFile(const std::filesystem::path& file) {
  std::error_code ec;
  return std::filesystem::is_regular_file(file, ec);
}

std::optional<std::uintmax_t> FileSize(const std::filesystem::path& file) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(file, ec);
  if (ec) return std::nullopt;
  return size;
}
