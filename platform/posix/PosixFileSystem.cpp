#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/FileSystem.h"
#include "platform/SiteFolder.h"
#include "platform/posix/Retry.h"

namespace fs = std::filesystem;

namespace {

eEntryKind KindOf(mode_t mode) {
  if (S_ISREG(mode)) return eEntryKind::File;
  if (S_ISDIR(mode)) return eEntryKind::Folder;
  if (S_ISLNK(mode)) return eEntryKind::Link;
  return eEntryKind::Other;
}

// What a new folder gets from this user's mask.
uint32_t NewFolderMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0777 & ~mask;
}

cEntry EntryOf(const struct stat& st) {
  return {KindOf(st.st_mode),
          static_cast<uint32_t>(st.st_mode & 07777),
          static_cast<int64_t>(st.st_gid),
          static_cast<uint64_t>(st.st_dev),
          static_cast<uint64_t>(st.st_size),
          int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec,
          static_cast<uint64_t>(st.st_ino)};
}

void Check(int result, const fs::path& path) {
  if (result != 0) throw cFileFailure(path, errno);
}

// The lock is the open file itself: the system drops it when this run ends,
// however it ends, and the file is removed by the run that held it.
class cFlockLock : public cHeldLock {
 public:
  cFlockLock(int fd, fs::path file) : m_Fd(fd), m_File(std::move(file)) {}
  ~cFlockLock() override {
    ::unlink(m_File.c_str());
    ::close(m_Fd);
  }

 private:
  int m_Fd;
  fs::path m_File;
};

class cPosixFileSystem : public cFileSystem {
 public:
  cEntry Look(const fs::path& path) override {
    struct stat st{};
    if (Retried([&] { return ::lstat(path.c_str(), &st); }) != 0) {
      if (errno == ENOENT || errno == ENOTDIR) return {};
      throw cFileFailure(path, errno);
    }
    return EntryOf(st);
  }

  cEntry LookThrough(const fs::path& path) override {
    struct stat st{};
    if (Retried([&] { return ::stat(path.c_str(), &st); }) != 0) {
      if (errno == ENOENT || errno == ENOTDIR || errno == ELOOP) return {};
      throw cFileFailure(path, errno);
    }
    return EntryOf(st);
  }

  fs::path Canonical(const fs::path& path) override {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) throw cFileFailure(path, errno);
    fs::path canonical(resolved);
    ::free(resolved);
    return canonical;
  }

  std::vector<std::string> List(const fs::path& folder) override {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) throw cFileFailure(folder, errno);
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    const int err = errno;
    ::closedir(dir);
    if (err != 0) throw cFileFailure(folder, err);
    return names;
  }

  void MakePrivateFolder(const fs::path& folder, const cEntry& like) override {
    Check(Retried([&] { return ::mkdir(folder.c_str(), 0700); }), folder);
    if (like.kind != eEntryKind::Folder) return;
    // Someone outside the folder's group may not give it away: the folder then stays in the user's own group.
    if (Retried([&] { return ::chown(folder.c_str(), static_cast<uid_t>(-1), static_cast<gid_t>(like.group)); }) == 0 &&
        (like.mode & S_ISGID) != 0)
      Check(::chmod(folder.c_str(), 0700 | S_ISGID), folder);
  }

  void MakeFolder(const fs::path& folder) override {
    if (Retried([&] { return ::mkdir(folder.c_str(), 0777); }) == 0) return;
    const int err = errno;
    if (err != EEXIST || Look(folder).kind != eEntryKind::Folder) throw cFileFailure(folder, err);
  }

  void SetAccess(const fs::path& folder, const cEntry& like) override {
    const uint32_t mode = like.kind == eEntryKind::Folder ? like.mode : NewFolderMode();
    Check(Retried([&] { return ::chmod(folder.c_str(), static_cast<mode_t>(mode)); }), folder);
  }

  bool Move(const fs::path& from, const fs::path& to) override {
#ifdef RENAME_NOREPLACE
    if (Retried([&] { return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE); }) == 0)
      return true;
    if (errno == EEXIST) return false;
    if (errno != EINVAL && errno != ENOSYS) throw cFileFailure(to, errno);
#endif
    // Without the system's own check, a folder would replace an empty one of the same name.
    if (Look(to).kind != eEntryKind::Missing) return false;
    Check(Retried([&] { return ::rename(from.c_str(), to.c_str()); }), to);
    return true;
  }

  bool Exchange(const fs::path& a, const fs::path& b) override {
#ifdef RENAME_EXCHANGE
    if (Retried([&] { return ::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE); }) == 0)
      return true;
    if (errno != EINVAL && errno != ENOSYS) throw cFileFailure(b, errno);
#endif
    return false;
  }

  void Remove(const fs::path& path) override {
    if (Retried([&] { return ::unlink(path.c_str()); }) == 0) return;
    if (errno != EISDIR) throw cFileFailure(path, errno);
    Check(Retried([&] { return ::rmdir(path.c_str()); }), path);
  }

  std::unique_ptr<cHeldLock> TryLock(const fs::path& file) override {
    const int fd = Retried([&] { return ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600); });
    if (fd < 0) throw cFileFailure(file, errno);
    if (Retried([&] { return ::flock(fd, LOCK_EX | LOCK_NB); }) != 0) {
      const int err = errno;
      ::close(fd);
      if (err == EWOULDBLOCK) return nullptr;
      throw cFileFailure(file, err);
    }
    // The run before may have removed the file between our open and our lock:
    // only the lock on the file that bears the name counts.
    struct stat held{}, named{};
    if (::fstat(fd, &held) != 0 || ::lstat(file.c_str(), &named) != 0 || held.st_ino != named.st_ino ||
        held.st_dev != named.st_dev) {
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<cFlockLock>(fd, file);
  }

  bool CanWriteIn(const fs::path& folder) override {
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
  }
};

}  // namespace

cFileSystem& SystemFileSystem() {
  static cPosixFileSystem system;
  return system;
}
