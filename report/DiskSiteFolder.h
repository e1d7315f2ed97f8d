#pragma once
#include <functional>
#include <memory>

#include "report/SiteFolder.h"

// The site on disk below `root`, which must exist. Pages are created anew,
// never opened through a link or over an existing file.
class cDiskSiteFolder : public cSiteFolder {
 public:
  explicit cDiskSiteFolder(std::filesystem::path root) : m_Root(std::move(root)) {}
  void CreateFolder(const std::filesystem::path& relative) override;
  void WritePage(const std::filesystem::path& relative, std::string_view bytes) override;
  void Flush() override;

 private:
  std::filesystem::path m_Root;
};

/// Makes the site folder a run writes into, rooted at the given folder.
using cSiteFactory = std::function<std::unique_ptr<cSiteFolder>(const std::filesystem::path& root)>;
/// The factory of sites on disk.
cSiteFactory DiskSites();
