#pragma once
#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>

// Windows names files and shows text in UTF-16; the program's text is UTF-8.

inline std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

inline std::string Narrow(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n =
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr, nullptr);
  return utf8;
}

// From 248 characters on, a path reaches the system's file calls only in the
// "\\?\" form, which takes it as it stands: absolute, "\" between names,
// nothing left to resolve.
inline std::wstring LongPath(const std::filesystem::path& path) {
  constexpr std::size_t kShortest = 240;
  std::wstring text = path.wstring();
  if (text.size() < kShortest || text.starts_with(L"\\\\?\\")) return text;
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(path, ec).lexically_normal();
  if (ec) return text;
  text = full.make_preferred().wstring();
  if (text.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + text.substr(2);
  return L"\\\\?\\" + text;
}

// Closes a handle however the scope is left.
class cHandle {
 public:
  explicit cHandle(HANDLE h = INVALID_HANDLE_VALUE) : m_H(h) {}
  ~cHandle() { Close(); }
  cHandle(const cHandle&) = delete;
  cHandle& operator=(const cHandle&) = delete;
  HANDLE Get() const { return m_H; }
  bool Valid() const { return m_H != INVALID_HANDLE_VALUE && m_H != nullptr; }
  void Close() {
    if (Valid()) ::CloseHandle(m_H);
    m_H = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE m_H;
};
