#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/SiteFolder.h"
#include "platform/posix/Retry.h"

namespace {

// Writes all bytes, resuming after short writes; errno on failure.
int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = Retried([&] { return ::write(fd, bytes.data(), bytes.size()); });
    if (n < 0) return errno;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

bool IsFolder(const std::filesystem::path& path) {
  struct stat st{};
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

class cDiskSiteFolder : public cSiteFolder {
 public:
  explicit cDiskSiteFolder(std::filesystem::path root) : m_Root(std::move(root)) {}

  void CreateFolder(const std::filesystem::path& relative) override {
    const std::filesystem::path folder = m_Root / relative;
    if (Retried([&] { return ::mkdir(folder.c_str(), 0777); }) == 0) return;
    const int err = errno;
    if (err == EEXIST && IsFolder(folder)) return;
    throw cFileFailure(folder, err);
  }

  void WritePage(const std::filesystem::path& relative, std::string_view bytes) override {
    const std::filesystem::path file = m_Root / relative;
    const int fd =
        Retried([&] { return ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666); });
    if (fd < 0) throw cFileFailure(file, errno);
    int err = WriteAll(fd, bytes);
    // A full disk may show only when the file is closed.
    if (::close(fd) != 0 && err == 0 && errno != EINTR) err = errno;
    if (err != 0) throw cFileFailure(file, err);
  }

  void Flush() override {
    const int fd = Retried([&] { return ::open(m_Root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (fd < 0) throw cFileFailure(m_Root, errno);
    const int err = Retried([&] { return ::syncfs(fd); }) == 0 ? 0 : errno;
    ::close(fd);
    if (err != 0) throw cFileFailure(m_Root, err);
  }

 private:
  std::filesystem::path m_Root;
};

}  // namespace

std::unique_ptr<cSiteFolder> DiskSiteFolder(const std::filesystem::path& root) {
  return std::make_unique<cDiskSiteFolder>(root);
}
