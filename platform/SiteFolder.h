#pragma once
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string_view>

/// A file or folder that could not be created, written, moved or removed;
/// Errno() is the system's error number.
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

/// Makes the site folder a run writes into, rooted at the given folder.
using cSiteFactory = std::function<std::unique_ptr<cSiteFolder>(const std::filesystem::path& root)>;
/// The site on disk below `root`, which must exist. Pages are created anew,
/// never opened through a link or over an existing file.
std::unique_ptr<cSiteFolder> DiskSiteFolder(const std::filesystem::path& root);
/// The factory of sites on disk.
cSiteFactory DiskSites();
