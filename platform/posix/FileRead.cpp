#include "platform/FileRead.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/Retry.h"

namespace {

class cDescriptor {
 public:
  explicit cDescriptor(int fd) : m_Fd(fd) {}
  ~cDescriptor() {
    if (m_Fd >= 0) ::close(m_Fd);
  }
  cDescriptor(const cDescriptor&) = delete;
  cDescriptor& operator=(const cDescriptor&) = delete;
  int Get() const { return m_Fd; }

 private:
  int m_Fd;
};

}  // namespace

std::string ReadWholeFile(const std::filesystem::path& file) {
  const cDescriptor fd(Retried([&] { return ::open(file.c_str(), O_RDONLY | O_CLOEXEC); }));
  if (fd.Get() < 0) throw cReadFailure(errno);
  std::string bytes;
  // Room for the whole file at once when its size is known; reading goes on
  // to the real end either way.
  const auto size = FileSize(file);
  if (size && *size < (std::uintmax_t{1} << 31)) bytes.reserve(static_cast<std::size_t>(*size) + 1);
  char buf[1 << 16];
  for (;;) {
    const ssize_t got = Retried([&] { return ::read(fd.Get(), buf, sizeof buf); });
    if (got < 0) throw cReadFailure(errno);
    if (got == 0) return bytes;
    bytes.append(buf, static_cast<std::size_t>(got));
  }
}
