#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/HttpGet.h"
#include "sensyu/WindowServices.h"

// Fetching a period's official archive fanYYMM.lzh: which periods to try, the
// address, the redirects, the limits, the counter, where the file lands and
// what the user is told when it fails. The one request the network half makes
// is the system's (platform/HttpGet) or the toolkit's (qt/QtHttpGet).

/// Where the official site keeps every period's archive.
inline constexpr const char* kOfficialArchiveBase =
    "https://www.boatrace.jp/static_extra/pc_static/download/data/kibetsu";
/// A body larger than this is no fan handbook archive; the download stops there.
inline constexpr std::size_t kMaxArchiveBytes = std::size_t{64} * 1024 * 1024;
/// Redirects followed at most; the official site needs none.
inline constexpr int kMaxRedirects = 5;

/// How long a download may wait: for the next data, and for the whole body.
struct cDownloadLimits {
  std::chrono::milliseconds silence{30000};
  std::chrono::milliseconds overall{600000};
};

// Why a download gave nothing.
enum class eDownloadFailure {
  None,
  HostLookup,
  Connect,
  Tls,
  Timeout,  // no data for limits.silence
  TooSlow,  // not complete within limits.overall
  HttpStatus,
  Network,
  Redirect,  // refused by RedirectAllowed; detail names where it led
  TooLarge,
  NotLzh,
  Truncated,  // fewer bytes than the Content-Length; detail "received / announced"
  Damaged,    // the archive is cut or fails a member's checksum
  Save,
};

/// Whether to follow a redirect from `from` to `to` after `hopsSoFar` others:
/// only to http or https, never from https down to http, at most kMaxRedirects.
bool RedirectAllowed(std::string_view from, std::string_view to, int hopsSoFar);
/// Where a Location header leads from the address that answered: itself when
/// it names a scheme, else taken from that address's host or folder.
std::string ResolveUrl(std::string_view base, std::string_view location);
/// The counter while receiving: "1234 KB / 5678 KB", or "1234 KB" when the length is not announced.
std::string ReceivedText(std::uint64_t received, std::optional<std::uint64_t> announced);

struct cBodyVerdict {
  eDownloadFailure failure = eDownloadFailure::None;
  std::string detail;
};
/// Judges a body the server ended: as long as announced (when it was), an
/// LZH archive, and read whole by the same reader a conversion uses.
cBodyVerdict JudgeBody(std::string_view body, std::optional<std::uint64_t> announced);

/// The periods to try when none is named, newest first: the newest that can
/// be published by this date (04 from May, 10 from November), then the one before.
std::vector<std::string> NewestPeriods(int year, int month);
/// The periods to try on this computer's local date today.
std::vector<std::string> NewestPeriodsToday();
/// True for a period the user may name: four ASCII digits YYMM with MM 04 or 10.
bool IsValidPeriod(std::string_view yymm);
/// The `count` periods before yymm, newest first, none before the first
/// published one (0104): "2510", 3 gives 2504, 2410, 2404; none after a yymm that is no period.
std::vector<std::string> PeriodsBefore(std::string_view yymm, int count);
/// The period a saved archive's name tells: "2510" for "fan2510.lzh" or
/// "fan2510 (1).lzh"; empty for any other name.
std::string ArchivePeriod(std::string_view fileName);
/// The archive's address: "<base>/fanYYMM.lzh".
std::string ArchiveUrl(std::string_view base, std::string_view yymm);
/// The mirror named by TOBIREX_DOWNLOAD_BASE when set and not empty, else the official base.
std::string DownloadBase();
/// The box text: the lead line, the address and the reason, separated by CR LF;
/// the time limits are told as they were.
std::string DownloadFailureText(const std::string& url, eDownloadFailure failure, const std::string& detail,
                                const cDownloadLimits& limits = {});
/// The n-th copy's name beside a different file of that name, the way browsers
/// keep both: "fan2510.lzh" for 0, then "fan2510 (1).lzh", "fan2510 (2).lzh" ...
std::string NumberedName(const std::string& name, int n);
/// Saves bytes in folder (created when missing) as name, or as "stem (1).ext",
/// "(2)" ... beside a different file of that name; a file with the same bytes
/// is reused. Never replaces or truncates a file; nothing is left on failure.
std::optional<std::filesystem::path> SaveArchive(const std::filesystem::path& folder, const std::string& name,
                                                 std::string_view bytes, std::error_code& ec);

/// What one address gave, redirects followed.
struct cFetchResult {
  eDownloadFailure failure = eDownloadFailure::None;  // of the transfer: a limit, the network, a redirect
  int status = 0;                                      // the HTTP status; 0 when no answer came
  std::string detail;
  std::string bytes;
  std::optional<std::uint64_t> announced;  // the Content-Length, when sent
};
/// Decides what a transfer that ended gave: its own failure stands (an early
/// close told as a cut body), then the HTTP status, then JudgeBody. A failure keeps no bytes.
void JudgeFetch(cFetchResult& fetched);
/// Fetches one address; a stop asked by a signal throws cInterrupted.
using cFetch = std::function<cFetchResult(const std::string& url)>;
/// One request as the network half makes it (HttpGet's terms).
using cHttpRequest = std::function<cHttpReply(const std::string& url, const cHttpWatch& watch)>;
/// Fetches url with `request`, following redirects by RedirectAllowed, within
/// the limits (the silence for each request, the overall time and 64 MiB for
/// the whole fetch), counting the kilobytes on the window. A stop asked by a
/// signal ends the transfer and throws cInterrupted.
cFetchResult FetchFollowingRedirects(const cHttpRequest& request, const std::string& url,
                                     const cDownloadLimits& limits, cWindowServices& window);
/// What every downloader does around its fetch: the periods to try (the one
/// before only after a 404), the labels, one box for a failure, and the save
/// into folder. The saved archive, or nothing after the box.
std::optional<std::filesystem::path> DownloadArchive(const cFetch& fetch, const std::string& yymm,
                                                     const std::string& base, const std::filesystem::path& folder,
                                                     const cDownloadLimits& limits, cWindowServices& window);

// What startup asks of the front end to fetch an archive.
class cFanDownloader {
 public:
  virtual ~cFanDownloader() = default;
  /// The saved archive, or nothing after a failure already shown to the user;
  /// an empty yymm means the newest period by today's date.
  virtual std::optional<std::filesystem::path> Download(const std::string& yymm, cWindowServices& window) = 0;
};

// The downloader of every front end, over its network half's one request.
class cHttpDownloader : public cFanDownloader {
 public:
  cHttpDownloader(cHttpRequest request, std::filesystem::path folder, std::string base, cDownloadLimits limits = {});
  std::optional<std::filesystem::path> Download(const std::string& yymm, cWindowServices& window) override;

 private:
  cHttpRequest m_Request;
  std::filesystem::path m_Folder;
  std::string m_Base;
  cDownloadLimits m_Limits;
};
