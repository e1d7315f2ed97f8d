#include "report/PageFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>


namespace {

std::string Describe(const std::filesystem::path& file, int err) {
  return file.string() + ": " + std::strerror(err);
}

// Writes all bytes, resuming after short writes and interruptions; errno on failure.
int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

bool IsFolder(const std::filesystem::path& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool HoldsMarkup(std::string_view text) {
  bool found = false;
  for (char c : text) found |= (c == '&') | (c == '<') | (c == '>');  // no early exit: the loop vectorises
  return found;
}

}  // namespace

cFileFailure::cFileFailure(std::filesystem::path file, int err)
    : std::runtime_error(Describe(file, err)), m_File(std::move(file)), m_Errno(err) {}

cPageText& cPageText::operator<<(Escaped piece) {
  std::string_view text = piece.text;
  if (!HoldsMarkup(text)) return *this << text;  // names and figures almost always
  std::size_t done = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '&' && c != '<' && c != '>') continue;
    *this << text.substr(done, i - done);
    m_Bytes.append(c == '&' ? "&amp;" : c == '<' ? "&lt;" : "&gt;");
    done = i + 1;
  }
  return *this << text.substr(done);
}

void SavePage(const std::filesystem::path& file, std::string_view bytes) {
  int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) throw cFileFailure(file, errno);
  int err = WriteAll(fd, bytes);
  // A full disk may show only when the file is closed.
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err != 0) throw cFileFailure(file, err);
}

void CreateFolder(const std::filesystem::path& folder) {
  if (::mkdir(folder.c_str(), 0755) == 0) return;
  int err = errno;
  if (err == EEXIST && IsFolder(folder)) return;
  throw cFileFailure(folder, err);
}
