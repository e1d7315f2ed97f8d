#include "platform/NewFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/SiteFolder.h"
#include "platform/posix/Retry.h"

namespace fs = std::filesystem;

namespace {

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = Retried([&] { return ::write(fd, bytes.data(), bytes.size()); });
    if (n < 0) return errno;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return Retried([&] { return ::fsync(fd); }) == 0 ? 0 : errno;
}

// mkstemp makes the file private; a download gets the user's usual permissions.
void UsualPermissions(int fd) {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
}

}  // namespace

cNewFile::cNewFile(const fs::path& folder, const std::string& prefix, std::string_view bytes) {
  std::string pattern = (folder / (prefix + "XXXXXX")).string();
  const int fd = Retried([&] { return ::mkstemp(pattern.data()); });
  if (fd < 0) throw cFileFailure(folder, errno);
  m_Handle = fd;
  m_Temp = pattern;
  ::flock(fd, LOCK_EX | LOCK_NB);  // tells RemoveStaleNewFiles that this one is alive
  UsualPermissions(fd);
  if (const int err = WriteAll(fd, bytes); err != 0) {
    Discard();  // no destructor runs for a constructor that throws
    throw cFileFailure(folder, err);
  }
}

cNewFile::~cNewFile() { Discard(); }

void cNewFile::Discard() {
  if (!m_Placed && !m_Temp.empty()) ::unlink(m_Temp.c_str());
  m_Temp.clear();
  if (m_Handle >= 0) ::close(static_cast<int>(m_Handle));
  m_Handle = -1;
}

// A hard link fails when the name is taken, so a file that appeared meanwhile
// is never replaced; rename is the fallback where links are not supported.
bool cNewFile::PlaceAs(const fs::path& target) {
  if (Retried([&] { return ::link(m_Temp.c_str(), target.c_str()); }) == 0) {
    ::unlink(m_Temp.c_str());
    m_Placed = true;
    return true;
  }
  if (errno == EEXIST) return false;
  struct stat st{};
  if (::lstat(target.c_str(), &st) == 0) return false;
  if (Retried([&] { return ::rename(m_Temp.c_str(), target.c_str()); }) != 0) throw cFileFailure(target, errno);
  m_Placed = true;
  return true;
}

void cNewFile::ReplaceAs(const fs::path& target) {
  if (Retried([&] { return ::rename(m_Temp.c_str(), target.c_str()); }) != 0) throw cFileFailure(target, errno);
  m_Placed = true;
}

void RemoveStaleNewFiles(const fs::path& folder, const std::string& prefix) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->path().filename().string().starts_with(prefix)) continue;
    const int fd = Retried([&] { return ::open(it->path().c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC); });
    if (fd < 0) continue;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(it->path().c_str());
    ::close(fd);
  }
}
