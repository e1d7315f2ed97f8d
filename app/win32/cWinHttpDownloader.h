#pragma once
#include <filesystem>
#include <optional>
#include <string>

#include "app/FanDownload.h"

// Fetches archives with the system's own HTTP client (WinHTTP), certificates
// checked against the system's store. The window's messages are handled while
// the transfer runs; only a body verified whole reaches the folder, and a stop
// asked by Ctrl-C ends the transfer and throws cInterrupted.
class cWinHttpDownloader : public cFanDownloader {
 public:
  cWinHttpDownloader(std::filesystem::path folder, std::string base, cDownloadLimits limits = {});
  std::optional<std::filesystem::path> Download(const std::string& yymm, cWindowServices& window) override;

 private:
  std::filesystem::path m_Folder;
  std::string m_Base;
  cDownloadLimits m_Limits;
};
