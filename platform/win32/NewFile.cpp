#include "platform/NewFile.h"

#include <random>

#include "platform/SiteFolder.h"
#include "platform/win32/Wide.h"

namespace fs = std::filesystem;

namespace {

int LastError() { return static_cast<int>(::GetLastError()); }

// 0, or the system's error number.
int WriteAll(HANDLE h, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    if (!::WriteFile(h, bytes.data(), chunk, &written, nullptr)) return LastError();
    bytes.remove_prefix(written);
  }
  return ::FlushFileBuffers(h) ? 0 : LastError();
}

}  // namespace

// Held open without leave to delete it, so RemoveStaleNewFiles passes it by.
cNewFile::cNewFile(const fs::path& folder, const std::string& prefix, std::string_view bytes) {
  std::random_device random;
  HANDLE h = INVALID_HANDLE_VALUE;
  for (int attempt = 0; h == INVALID_HANDLE_VALUE; ++attempt) {
    m_Temp = folder / Widen(prefix + std::to_string(random()));
    h = ::CreateFileW(LongPath(m_Temp).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (h == INVALID_HANDLE_VALUE && (LastError() != ERROR_FILE_EXISTS || attempt > 100)) {
      const int err = LastError();
      m_Temp.clear();
      throw cFileFailure(folder, err);
    }
  }
  m_Handle = reinterpret_cast<std::intptr_t>(h);
  if (const int err = WriteAll(h, bytes); err != 0) {
    Discard();  // no destructor runs for a constructor that throws
    throw cFileFailure(folder, err);
  }
}

cNewFile::~cNewFile() { Discard(); }

void cNewFile::Discard() {
  if (m_Handle != -1) ::CloseHandle(reinterpret_cast<HANDLE>(m_Handle));
  m_Handle = -1;
  if (!m_Placed && !m_Temp.empty()) ::DeleteFileW(LongPath(m_Temp).c_str());
  m_Temp.clear();
}

namespace {

// The system's error, or 0 when the file took the name `target`.
int MoveInto(const fs::path& temp, std::intptr_t& handle, const fs::path& target, DWORD flags) {
  if (handle != -1) ::CloseHandle(reinterpret_cast<HANDLE>(handle));  // Windows moves no open file
  handle = -1;
  if (!::MoveFileExW(LongPath(temp).c_str(), LongPath(target).c_str(), MOVEFILE_WRITE_THROUGH | flags))
    return LastError();
  ::SetFileAttributesW(LongPath(target).c_str(), FILE_ATTRIBUTE_NORMAL);
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
  HANDLE h = ::FindFirstFileW(LongPath(folder / Widen(prefix + "*")).c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    ::DeleteFileW(LongPath(folder / found.cFileName).c_str());  // fails while a running download holds it
  } while (::FindNextFileW(h, &found));
  ::FindClose(h);
}
