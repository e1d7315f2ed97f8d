#include "platform/FileSystem.h"
#include "platform/SiteFolder.h"
#include "platform/win32/Wide.h"

namespace fs = std::filesystem;

namespace {

int LastError() { return static_cast<int>(::GetLastError()); }

bool IsMissing(int err) { return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND; }

// A handle on what the path leads to (links followed), for asking about it only.
HANDLE OpenToAsk(const fs::path& path) {
  return ::CreateFileW(LongPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// "\\?\C:\x" and "\\?\UNC\server\x" as the user writes them.
fs::path WithoutLongPrefix(std::wstring path) {
  if (path.starts_with(L"\\\\?\\UNC\\")) return L"\\\\" + path.substr(8);
  if (path.starts_with(L"\\\\?\\")) return path.substr(4);
  return path;
}

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
    if (!::GetFileAttributesExW(LongPath(path).c_str(), GetFileExInfoStandard, &data)) {
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
    entry.size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    entry.modified = static_cast<int64_t>(uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 |
                                          data.ftLastWriteTime.dwLowDateTime);
    return entry;
  }

  cEntry LookThrough(const fs::path& path) override {
    const cHandle h(OpenToAsk(path));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!h.Valid() || !::GetFileInformationByHandle(h.Get(), &info)) {
      const int err = LastError();
      if (IsMissing(err) || err == ERROR_CANT_RESOLVE_FILENAME || err == ERROR_INVALID_NAME) return {};
      throw cFileFailure(path, err);
    }
    cEntry entry;
    entry.kind = info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? eEntryKind::Folder : eEntryKind::File;
    entry.device = info.dwVolumeSerialNumber;
    entry.size = (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    entry.modified = static_cast<int64_t>(uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32 |
                                          info.ftLastWriteTime.dwLowDateTime);
    entry.id = uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow;
    return entry;
  }

  fs::path Canonical(const fs::path& path) override {
    const cHandle h(OpenToAsk(path));
    if (!h.Valid()) throw cFileFailure(path, LastError());
    std::wstring final(MAX_PATH, L'\0');
    for (;;) {
      const DWORD n = ::GetFinalPathNameByHandleW(h.Get(), final.data(), static_cast<DWORD>(final.size()),
                                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
      if (n == 0) throw cFileFailure(path, LastError());
      if (n < final.size()) return WithoutLongPrefix(final.substr(0, n));
      final.resize(n);
    }
  }

  std::vector<std::string> List(const fs::path& folder) override {
    WIN32_FIND_DATAW found{};
    HANDLE h = ::FindFirstFileW(LongPath(folder / L"*").c_str(), &found);
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
    if (!::CreateDirectoryW(LongPath(folder).c_str(), nullptr)) throw cFileFailure(folder, LastError());
  }

  void MakeFolder(const fs::path& folder) override {
    if (::CreateDirectoryW(LongPath(folder).c_str(), nullptr)) return;
    const int err = LastError();
    if (err != ERROR_ALREADY_EXISTS || Look(folder).kind != eEntryKind::Folder) throw cFileFailure(folder, err);
  }

  // Windows folders carry their access in inherited lists, not in modes.
  void SetAccess(const fs::path&, const cEntry&) override {}

  bool Move(const fs::path& from, const fs::path& to) override {
    if (::MoveFileExW(LongPath(from).c_str(), LongPath(to).c_str(), 0)) return true;
    const int err = LastError();
    if (err == ERROR_ALREADY_EXISTS || err == ERROR_FILE_EXISTS) return false;
    throw cFileFailure(to, err);
  }

  bool Exchange(const fs::path&, const fs::path&) override { return false; }

  void Remove(const fs::path& path) override {
    const DWORD attributes = ::GetFileAttributesW(LongPath(path).c_str());
    const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (!(folder ? ::RemoveDirectoryW(LongPath(path).c_str()) : ::DeleteFileW(LongPath(path).c_str()))) throw cFileFailure(path, LastError());
  }

  std::unique_ptr<cHeldLock> TryLock(const fs::path& file) override {
    HANDLE h = ::CreateFileW(LongPath(file).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h != INVALID_HANDLE_VALUE) return std::make_unique<cExclusiveFile>(h);
    const int err = LastError();
    if (err == ERROR_SHARING_VIOLATION || err == ERROR_ACCESS_DENIED) return nullptr;
    throw cFileFailure(file, err);
  }

  // Windows keeps who may write in access lists that only a try reads right.
  bool CanWriteIn(const fs::path& folder) override {
    const fs::path probe = folder / Widen(".tobirex-probe-" + std::to_string(::GetCurrentProcessId()));
    if (!::CreateDirectoryW(LongPath(probe).c_str(), nullptr)) return ::GetLastError() == ERROR_ALREADY_EXISTS;
    ::RemoveDirectoryW(LongPath(probe).c_str());
    return true;
  }

 private:
  static uint64_t VolumeOf(const fs::path& path) {
    cHandle h(::CreateFileW(LongPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
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
