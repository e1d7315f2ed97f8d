#pragma once
#include <filesystem>
#include <cstdint>
#include <optional>
#include <string>

#include "app/FanDownload.h"

class QNetworkReply;

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
  struct cFetched {
    eDownloadFailure failure = eDownloadFailure::None;
    int status = 0;
    std::string detail;
    std::string bytes;
    std::optional<std::uint64_t> announced;  // the Content-Length, when sent
  };
  cFetched Fetch(const std::string& url, cWindowServices& window);
  // Decides the failure, if any, once the reply has finished; a failure keeps no bytes.
  static void Judge(const QNetworkReply& reply, cFetched& fetched);
  std::optional<std::filesystem::path> Save(const std::string& yymm, const cFetched& fetched,
                                            const std::string& url, cWindowServices& window);

  std::filesystem::path m_Folder;
  std::string m_Base;
  cDownloadLimits m_Limits;
};
