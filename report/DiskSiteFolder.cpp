#include "report/DiskSiteFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Writes all bytes, resuming after short writes and interruptions; errno on failure.
int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
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
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

cFileFailure::cFileFailure(std::filesystem::path file, int err)
    : std::runtime_error(file.string() + ": " + std::strerror(err)), m_File(std::move(file)), m_Errno(err) {}

void cDiskSiteFolder::CreateFolder(const std::filesystem::path& relative) {
  const std::filesystem::path folder = m_Root / relative;
  if (::mkdir(folder.c_str(), 0755) == 0) return;
  const int err = errno;
  if (err == EEXIST && IsFolder(folder)) return;
  throw cFileFailure(folder, err);
}

void cDiskSiteFolder::WritePage(const std::filesystem::path& relative, std::string_view bytes) {
  const std::filesystem::path file = m_Root / relative;
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) throw cFileFailure(file, errno);
  int err = WriteAll(fd, bytes);
  // A full disk may show only when the file is closed.
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err != 0) throw cFileFailure(file, err);
}

void cDiskSiteFolder::Flush() {
  const int fd = ::open(m_Root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) throw cFileFailure(m_Root, errno);
  const int err = ::syncfs(fd) == 0 ? 0 : errno;
  ::close(fd);
  if (err != 0) throw cFileFailure(m_Root, err);
}

cSiteFactory DiskSites() {
  return [](const std::filesystem::path& root) { return std::make_unique<cDiskSiteFolder>(root); };
}
