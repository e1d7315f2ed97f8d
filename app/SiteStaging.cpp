#include "app/SiteStaging.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "app/Interrupt.h"
#include "report/SiteFolder.h"

namespace fs = std::filesystem;

namespace {

// Every file a run keeps beside the output folder starts with this, so the
// next run knows what it may clean up.
std::string OwnPrefix(const fs::path& output) { return "." + output.filename().string() + ".tobirex-"; }

// Exchanges two paths in one step where the system can; false where it cannot.
bool Exchange(const fs::path& a, const fs::path& b) {
#ifdef RENAME_EXCHANGE
  if (::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) throw cFileFailure(b, errno);
#endif
  return false;
}

void Rename(const fs::path& from, const fs::path& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) throw cFileFailure(to, errno);
}

}  // namespace

cSiteStaging::cSiteStaging(fs::path outputFolder) : m_Output(std::move(outputFolder)) {
  // "site/" names the folder "site": its own name makes the names beside it.
  if (!m_Output.has_filename()) m_Output = m_Output.parent_path();
}

cSiteStaging::~cSiteStaging() {
  std::error_code ec;
  if (!m_Committed && !m_Staging.empty()) fs::remove_all(m_Staging, ec);
  if (m_LockFd < 0) return;
  if (m_Locked) ::unlink(Beside("lock").c_str());  // never another run's lock
  ::close(m_LockFd);
}

fs::path cSiteStaging::Beside(const std::string& what) const {
  return m_Output.parent_path() / (OwnPrefix(m_Output) + what);
}

void cSiteStaging::Begin(const std::function<void()>& waiting) {
  Lock(waiting);
  RemoveStale();
  const fs::path staging = Beside("new-" + std::to_string(::getpid()));
  if (::mkdir(staging.c_str(), 0700) != 0) {
    const int err = errno;
    throw cFileFailure(staging, err);
  }
  m_Staging = staging;  // only a folder this run made is ever removed
}

void cSiteStaging::Lock(const std::function<void()>& waiting) {
  // The lock file goes away when its run ends; a run that waited on a lock
  // file since removed must lock the one now in its place.
  const fs::path lock = Beside("lock");
  for (bool told = false;;) {
    m_LockFd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (m_LockFd < 0) throw cFileFailure(lock, errno);
    if (::flock(m_LockFd, LOCK_EX | LOCK_NB) != 0) {
      if (!told) waiting();
      told = true;
      while (::flock(m_LockFd, LOCK_EX) != 0) {
        if (errno != EINTR) throw cFileFailure(lock, errno);
        ThrowIfInterrupted();  // Ctrl-C ends the wait, not only the run
      }
    }
    struct stat held{}, named{};
    if (::fstat(m_LockFd, &held) == 0 && ::lstat(lock.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
        held.st_dev == named.st_dev) {
      m_Locked = true;
      return;
    }
    ::close(m_LockFd);
    m_LockFd = -1;
  }
}

// Under the lock no other run is at work here: whatever staging folder of
// ours lies beside the output folder was left by a run that was killed.
void cSiteStaging::RemoveStale() const {
  const std::string prefix = OwnPrefix(m_Output);
  std::error_code ec;
  for (fs::directory_iterator it(m_Output.parent_path(), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.starts_with(prefix + "new-") || name.starts_with(prefix + "old-")) {
      std::error_code ignored;
      fs::remove_all(it->path(), ignored);
    }
  }
}

fs::path cSiteStaging::Commit() {
  if (::chmod(m_Staging.c_str(), 0755) != 0) throw cFileFailure(m_Staging, errno);
  struct stat st{};
  if (::lstat(m_Output.c_str(), &st) != 0) {
    Rename(m_Staging, m_Output);  // no old site: the new one simply takes the name
    m_Committed = true;
    return {};
  }
  if (Exchange(m_Staging, m_Output)) {
    m_Committed = true;
    return m_Staging;  // the old site now stands under the staging name
  }
  const fs::path old = Beside("old-" + std::to_string(::getpid()));
  Rename(m_Output, old);
  try {
    Rename(m_Staging, m_Output);
  } catch (...) {
    Rename(old, m_Output);
    throw;
  }
  m_Committed = true;
  return old;
}
