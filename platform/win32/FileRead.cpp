#include "platform/FileRead.h"

#include "platform/win32/Wide.h"

std::string ReadWholeFile(const std::filesystem::path& file) {
  const cHandle h(::CreateFileW(LongPath(file).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h.Valid()) throw cReadFailure(static_cast<int>(::GetLastError()));
  std::string bytes;
  LARGE_INTEGER size{};
  if (::GetFileSizeEx(h.Get(), &size) && size.QuadPart < (LONGLONG{1} << 31))
    bytes.reserve(static_cast<std::size_t>(size.QuadPart) + 1);
  char buf[1 << 16];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(h.Get(), buf, sizeof buf, &got, nullptr)) throw cReadFailure(static_cast<int>(::GetLastError()));
    if (got == 0) return bytes;
    bytes.append(buf, got);
  }
}
