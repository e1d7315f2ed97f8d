#pragma once
#include <filesystem>
#include <string>
#include <string_view>

// A fresh folder under the system temp folder, removed with its contents.
class cTempDir {
 public:
  cTempDir();
  ~cTempDir();
  cTempDir(const cTempDir&) = delete;
  cTempDir& operator=(const cTempDir&) = delete;
  const std::filesystem::path& Path() const { return m_Path; }
  /// Writes raw bytes to name inside the folder and returns the full path.
  std::filesystem::path WriteFile(const std::string& name, std::string_view bytes) const;

 private:
  std::filesystem::path m_Path;
};
