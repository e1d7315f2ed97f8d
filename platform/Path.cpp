#include "platform/Path.h"

// char8_t text is UTF-8 on every system, whatever the locale's code page.
std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string PathToUtf8(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
}

char PathSeparator() { return static_cast<char>(std::filesystem::path::preferred_separator); }

std::string PathToWebUtf8(const std::filesystem::path& path) {
  const std::u8string utf8 = path.generic_u8string();
  return std::string(utf8.begin(), utf8.end());
}
