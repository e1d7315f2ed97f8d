#include "platform/FileSystem.h"
#include "platform/SiteFolder.h"
#include "platform/win32/Wide.h"

namespace fs = std::filesystem;

namespace {

int LastError() { return static_cast<int>(::GetLastError()); }

bool IsMissing(int err) { return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND; }

// The lock is a file opened for this run alone: another run's open fails
// while it is held, and Windows closes (and so deletes) it however the run ends.
class cExclusiveFile : public cHeldLock {
 public:
  explicit cExclusiveFile(HANDLE h) : m_Handle(h) {}

 private:
  cHandle m_Handle;
};

class cWin32FileSystem : public cFileSystem {
 public:
  cEntry Look(const fs::path& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
      const int err = LastError();
      if (IsMissing(err)) return {};
      throw cFileFailure(path, err);
    }
    cEntry entry;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
      entry.kind = eEntryKind::Link;
    else
      entry.kind = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? eEntryKind::Folder : eEntryKind::File;
    entry.device = VolumeOf(path);
    entry.modified = static_cast<int64_t>(uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 |
                                          data.ftLastWriteTime.dwLowDateTime);
    return entry;
  }

  cEntry LookThrough(const fs::path& path) override {
    cHandle h(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!h.Valid() || !::GetFileInformationByHandle(h.Get(), &info)) {
      const int err = LastError();
      if (IsMissing(err)) return {};
      throw cFileFailure(path, err);
    }
    cEntry entry;
    entry.kind = info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? eEntryKind::Folder : eEntryKind::File;
    entry.device = info.dwVolumeSerialNumber;
    entry.modified = static_cast<int64_t>(uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32 |
                                          info.ftLastWriteTime.dwLowDateTime);
    entry.id = uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow;
    return entry;
  }

  std::vector<std::string> List(const fs::path& folder) override {
    WIN32_FIND_DATAW found{};
    HANDLE h = ::FindFirstFileW((folder / L"*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) throw cFileFailure(folder, LastError());
    std::vector<std::string> names;
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") names.push_back(Narrow(name));
    } while (::FindNextFileW(h, &found));
    const int err = LastError();
    ::FindClose(h);
    if (err != ERROR_NO_MORE_FILES) throw cFileFailure(folder, err);
    return names;
  }

  void MakePrivateFolder(const fs::path& folder, const cEntry&) override {
    if (!::CreateDirectoryW(folder.c_str(), nullptr)) throw cFileFailure(folder, LastError());
  }

  void MakeFolder(const fs::path& folder) override {
    if (::CreateDirectoryW(folder.c_str(), nullptr)) return;
    const int err = LastError();
    if (err != ERROR_ALREADY_EXISTS || Look(folder).kind != eEntryKind::Folder) throw cFileFailure(folder, err);
  }

  // Windows folders carry their access in inherited lists, not in modes.
  void SetAccess(const fs::path&, const cEntry&) override {}

  bool Move(const fs::path& from, const fs::path& to) override {
    if (::MoveFileExW(from.c_str(), to.c_str(), 0)) return true;
    const int err = LastError();
    if (err == ERROR_ALREADY_EXISTS || err == ERROR_FILE_EXISTS) return false;
    throw cFileFailure(to, err);
  }

  bool Exchange(const fs::path&, const fs::path&) override { return false; }

  void Remove(const fs::path& path) override {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (!(folder ? ::RemoveDirectoryW(path.c_str()) : ::DeleteFileW(path.c_str()))) throw cFileFailure(path, LastError());
  }

  std::unique_ptr<cHeldLock> TryLock(const fs::path& file) override {
    HANDLE h = ::CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h != INVALID_HANDLE_VALUE) return std::make_unique<cExclusiveFile>(h);
    const int err = LastError();
    if (err == ERROR_SHARING_VIOLATION || err == ERROR_ACCESS_DENIED) return nullptr;
    throw cFileFailure(file, err);
  }

  bool CanWriteIn(const fs::path& folder) override {
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES;
  }

 private:
  static uint64_t VolumeOf(const fs::path& path) {
    cHandle h(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!h.Valid() || !::GetFileInformationByHandle(h.Get(), &info)) return 0;
    return info.dwVolumeSerialNumber;
  }
};

}  // namespace

cFileSystem& SystemFileSystem() {
  static cWin32FileSystem system;
  return system;
}
