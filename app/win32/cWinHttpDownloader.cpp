#include "app/win32/cWinHttpDownloader.h"

#include <utility>

#include "platform/HttpGet.h"

namespace fs = std::filesystem;

namespace {

eDownloadFailure FailureOf(eHttpFailure failure) {
  switch (failure) {
    case eHttpFailure::None: return eDownloadFailure::None;
    case eHttpFailure::HostLookup: return eDownloadFailure::HostLookup;
    case eHttpFailure::Connect: return eDownloadFailure::Connect;
    case eHttpFailure::Tls: return eDownloadFailure::Tls;
    case eHttpFailure::Timeout: return eDownloadFailure::Timeout;
    case eHttpFailure::TooSlow: return eDownloadFailure::TooSlow;
    case eHttpFailure::TooLarge: return eDownloadFailure::TooLarge;
    case eHttpFailure::Redirect: return eDownloadFailure::Redirect;
    case eHttpFailure::Network: break;
  }
  return eDownloadFailure::Network;
}

}  // namespace

cWinHttpDownloader::cWinHttpDownloader(fs::path folder, std::string base, cDownloadLimits limits)
    : m_Folder(std::move(folder)), m_Base(std::move(base)), m_Limits(limits) {}

std::optional<fs::path> cWinHttpDownloader::Download(const std::string& yymm, cWindowServices& window) {
  const cHttpLimits limits{m_Limits.silence, m_Limits.overall, kMaxArchiveBytes};
  const cFetch fetch = [&](const std::string& url) {
    cHttpReply reply = HttpGet(url, limits, RedirectAllowed, [&](std::uint64_t received, auto announced) {
      window.SetLabel(ProgressLabel::Counter, ReceivedText(received, announced));
      window.DoEvents();
    });
    return cFetchResult{FailureOf(reply.failure), reply.status, std::move(reply.detail), std::move(reply.body),
                        reply.announced};
  };
  return DownloadArchive(fetch, yymm, m_Base, m_Folder, m_Limits, window);
}
