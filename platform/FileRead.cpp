#include "platform/FileRead.h"

#include "platform/ErrorText.h"

cReadFailure::cReadFailure(int number) : std::runtime_error(ErrorText(number)), m_Number(number) {}

bool IsPlainFile(const std::filesystem::path& file) {
  std::error_code ec;
  return std::filesystem::is_regular_file(file, ec);
}

std::optional<std::uintmax_t> FileSize(const std::filesystem::path& file) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(file, ec);
  if (ec) return std::nullopt;
  return size;
}
