#include "platform/NewFile.h"

#include <random>

#include "platform/SiteFolder.h"
#include "platform/win32/Wide.h"

namespace fs = std::filesystem;

namespace {

int LastError() { return static_cast<int>(::GetLastError()); }

}  // namespace

// Held open without leave to delete it, so RemoveStaleNewFiles passes it by.
cNewFile::cNewFile(const fs::path& folder, const std::string& prefix, std::string_view bytes) {
  std::random_device random;
  HANDLE h = INVALID_HANDLE_VALUE;
  for (int attempt = 0; h == INVALID_HANDLE_VALUE; ++attempt) {
    m_Temp = folder / Widen(prefix + std::to_string(random()));
    h = ::CreateFileW(m_Temp.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (h == INVALID_HANDLE_VALUE && (LastError() != ERROR_FILE_EXISTS || attempt > 100)) {
      const int err = LastError();
      m_Temp.clear();
      throw cFileFailure(folder, err);
    }
  }
  m_Handle = reinterpret_cast<std::intptr_t>(h);
  while (!bytes.empty()) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    if (!::WriteFile(h, bytes.data(), chunk, &written, nullptr)) throw cFileFailure(m_Temp, LastError());
    bytes.remove_prefix(written);
  }
  if (!::FlushFileBuffers(h)) throw cFileFailure(m_Temp, LastError());
}

cNewFile::~cNewFile() {
  if (m_Handle != -1) ::CloseHandle(reinterpret_cast<HANDLE>(m_Handle));
  if (!m_Placed && !m_Temp.empty()) ::DeleteFileW(m_Temp.c_str());
}

namespace {

// The system's error, or 0 when the file took the name `target`.
int MoveInto(const fs::path& temp, std::intptr_t& handle, const fs::path& target, DWORD flags) {
  if (handle != -1) ::CloseHandle(reinterpret_cast<HANDLE>(handle));  // Windows moves no open file
  handle = -1;
  if (!::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH | flags)) return LastError();
  ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  return 0;
}

}  // namespace

bool cNewFile::PlaceAs(const fs::path& target) {
  const int err = MoveInto(m_Temp, m_Handle, target, 0);
  m_Placed = err == 0;
  if (err == 0) return true;
  if (err == ERROR_ALREADY_EXISTS || err == ERROR_FILE_EXISTS) return false;
  throw cFileFailure(target, err);
}

void cNewFile::ReplaceAs(const fs::path& target) {
  const int err = MoveInto(m_Temp, m_Handle, target, MOVEFILE_REPLACE_EXISTING);
  if (err != 0) throw cFileFailure(target, err);
  m_Placed = true;
}

void RemoveStaleNewFiles(const fs::path& folder, const std::string& prefix) {
  WIN32_FIND_DATAW found{};
  HANDLE h = ::FindFirstFileW((folder / Widen(prefix + "*")).c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    ::DeleteFileW((folder / found.cFileName).c_str());  // fails while a running download holds it
  } while (::FindNextFileW(h, &found));
  ::FindClose(h);
}
