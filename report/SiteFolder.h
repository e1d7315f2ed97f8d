#pragma once
#include <filesystem>
#include <stdexcept>
#include <string_view>

/// A file or folder of the site that could not be created or written.
class cFileFailure : public std::runtime_error {
 public:
  cFileFailure(std::filesystem::path file, int err);
  const std::filesystem::path& File() const { return m_File; }
  int Errno() const { return m_Errno; }

 private:
  std::filesystem::path m_File;
  int m_Errno;
};

// The file system of one conversion: every folder and page the run makes
// goes through here, by path relative to the site's root. Pages may be
// written from several threads at once.
class cSiteFolder {
 public:
  virtual ~cSiteFolder() = default;
  /// Creates one folder level; an existing folder is fine. Throws cFileFailure.
  virtual void CreateFolder(const std::filesystem::path& relative) = 0;
  /// Writes a new page with its code page 932 bytes. Throws cFileFailure.
  virtual void WritePage(const std::filesystem::path& relative, std::string_view bytes) = 0;
  /// Waits until every page written is stored for good. Throws cFileFailure.
  virtual void Flush() {}
};
