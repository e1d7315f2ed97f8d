#include "platform/SiteFolder.h"
#include "platform/win32/Wide.h"

namespace {

int LastError() { return static_cast<int>(::GetLastError()); }

class cDiskSiteFolder : public cSiteFolder {
 public:
  explicit cDiskSiteFolder(std::filesystem::path root) : m_Root(std::move(root)) {}

  void CreateFolder(const std::filesystem::path& relative) override {
    const std::filesystem::path folder = m_Root / relative;
    if (::CreateDirectoryW(LongPath(folder).c_str(), nullptr)) return;
    const int err = LastError();
    const DWORD attributes = ::GetFileAttributesW(LongPath(folder).c_str());
    if (err == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == FILE_ATTRIBUTE_DIRECTORY)
      return;
    throw cFileFailure(folder, err);
  }

  // Flushed file by file: Windows has no call that flushes one folder's tree.
  void WritePage(const std::filesystem::path& relative, std::string_view bytes) override {
    const std::filesystem::path file = m_Root / relative;
    cHandle h(::CreateFileW(LongPath(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.Valid()) throw cFileFailure(file, LastError());
    while (!bytes.empty()) {
      DWORD written = 0;
      const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
      if (!::WriteFile(h.Get(), bytes.data(), chunk, &written, nullptr)) throw cFileFailure(file, LastError());
      bytes.remove_prefix(written);
    }
    if (!::FlushFileBuffers(h.Get())) throw cFileFailure(file, LastError());
  }

 private:
  std::filesystem::path m_Root;
};

}  // namespace

std::unique_ptr<cSiteFolder> DiskSiteFolder(const std::filesystem::path& root) {
  return std::make_unique<cDiskSiteFolder>(root);
}
