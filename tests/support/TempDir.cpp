#include "support/TempDir.h"

#include <fstream>
#include <random>

#include "platform/Path.h"

cTempDir::cTempDir() {
  std::random_device rd;
  auto base = std::filesystem::temp_directory_path();
  do {
    m_Path = base / ("tobirex-test-" + std::to_string(rd()));
  } while (!std::filesystem::create_directory(m_Path));
}

cTempDir::~cTempDir() {
  std::error_code ec;
  std::filesystem::remove_all(m_Path, ec);
}

std::filesystem::path cTempDir::WriteFile(const std::string& name, std::string_view bytes) const {
  auto file = m_Path / PathFromUtf8(name);
  std::ofstream out(file, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return file;
}
