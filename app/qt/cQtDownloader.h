#pragma once
#include <filesystem>
#include <optional>
#include <string>

#include "app/FanDownload.h"

// Fetches archives with Qt Network over HTTPS, verified against the system's
// certificates. The call blocks in its own event loop so the window keeps
// repainting; without any Qt application (the terminal) it makes one for the
// download's duration. Only a body verified whole reaches the folder; a stop
// asked by a signal aborts the transfer and throws cInterrupted.
class cQtDownloader : public cFanDownloader {
 public:
  cQtDownloader(std::filesystem::path folder, std::string base, cDownloadLimits limits = {});
  std::optional<std::filesystem::path> Download(const std::string& yymm, cWindowServices& window) override;

 private:
  // One address, redirects followed by RedirectAllowed; judged by the shared flow.
  cFetchResult Fetch(const std::string& url, cWindowServices& window) const;

  std::filesystem::path m_Folder;
  std::string m_Base;
  cDownloadLimits m_Limits;
};
