#include "app/FanDownload.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/ErrorText.h"
#include "platform/FileRead.h"
#include "platform/FileSystem.h"
#include "platform/Interrupt.h"
#include "platform/LocalTime.h"
#include "platform/NewFile.h"
#include "platform/Path.h"
#include "platform/SiteFolder.h"
#include "sensyu/FanArchive.h"
#include "sensyu/FanInput.h"

namespace fs = std::filesystem;

namespace {

std::string PeriodText(int year, int month) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d%02d", ((year % 100) + 100) % 100, month);
  return text;
}

bool HoldsBytes(cFileSystem& files, const fs::path& file, std::string_view bytes) {
  try {
    const cEntry entry = files.LookThrough(file);
    return entry.kind == eEntryKind::File && entry.size == bytes.size() && ReadWholeFile(file) == bytes;
  } catch (const cFileFailure&) {
    return false;  // a file we cannot look at or read is no copy to reuse
  } catch (const cReadFailure&) {
    return false;
  }
}

// The official site's archives start with 2001's first half (fan0104).
constexpr int kFirstPublishedHalf = 2;

// Every temporary file of the download starts with this; a killed download's are removed by the next.
constexpr const char* kTemporaryPrefix = ".tobirex-download-";

// "30 秒", "10 分".
std::string DurationText(std::chrono::milliseconds limit) {
  const long long s = std::chrono::duration_cast<std::chrono::seconds>(limit).count();
  return s >= 60 && s % 60 == 0 ? std::to_string(s / 60) + " 分" : std::to_string(s) + " 秒";
}

// Only the web's schemes; "https:" before "http:" since both start alike.
std::string_view SchemeOf(std::string_view url) {
  const auto starts = [&](std::string_view scheme) {
    return url.size() >= scheme.size() &&
           std::equal(scheme.begin(), scheme.end(), url.begin(), [](char a, char b) {
             return a == ((b >= 'A' && b <= 'Z') ? static_cast<char>(b - 'A' + 'a') : b);
           });
  };
  if (starts("https://")) return "https";
  if (starts("http://")) return "http";
  return {};
}

bool IsRedirect(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

eDownloadFailure FailureOf(eHttpFailure failure) {
  switch (failure) {
    case eHttpFailure::None: return eDownloadFailure::None;
    case eHttpFailure::HostLookup: return eDownloadFailure::HostLookup;
    case eHttpFailure::Connect: return eDownloadFailure::Connect;
    case eHttpFailure::Tls: return eDownloadFailure::Tls;
    case eHttpFailure::Network:
    case eHttpFailure::Stopped: break;
  }
  return eDownloadFailure::Network;
}

// One request within what is left of the fetch's limits; `stop` gets the limit that ended it.
cHttpReply Request(const cHttpRequest& request, const std::string& url, const cDownloadLimits& limits,
                   std::chrono::steady_clock::time_point start, cWindowServices& window, eDownloadFailure& stop) {
  using Clock = std::chrono::steady_clock;
  Clock::time_point lastData = Clock::now();
  std::uint64_t lastReceived = 0;
  const cHttpWatch watch = [&](std::uint64_t received, std::optional<std::uint64_t> announced) {
    const Clock::time_point now = Clock::now();
    if (received != lastReceived) lastData = now;
    lastReceived = received;
    if (std::max(received, announced.value_or(0)) > kMaxArchiveBytes)
      stop = eDownloadFailure::TooLarge;
    else if (now - start >= limits.overall)
      stop = eDownloadFailure::TooSlow;
    else if (now - lastData >= limits.silence)
      stop = eDownloadFailure::Timeout;
    window.SetLabel(ProgressLabel::Counter, ReceivedText(received, announced));
    window.DoEvents();
    return stop == eDownloadFailure::None && StopRequested() == 0;
  };
  cHttpReply reply = request(url, watch);
  ThrowIfInterrupted();
  return reply;
}

std::string FailureReason(eDownloadFailure failure, const std::string& detail, const cDownloadLimits& limits) {
  switch (failure) {
    case eDownloadFailure::HostLookup: return "サーバーの名前を解決できません。";
    case eDownloadFailure::Connect: return "サーバーに接続できません。";
    case eDownloadFailure::Tls: return "安全な接続 (TLS) を確立できません。";
    case eDownloadFailure::Timeout: return DurationText(limits.silence) + "間データが届きませんでした。";
    case eDownloadFailure::TooSlow: return DurationText(limits.overall) + "以内に受け取りが終わりませんでした。";
    case eDownloadFailure::HttpStatus: return "サーバーの応答は HTTP " + detail + " でした。";
    case eDownloadFailure::Redirect:
      return "リダイレクトを拒否しました (HTTPS から HTTP へ移るもの、" + std::to_string(kMaxRedirects) +
             " 回を超えるものは受け付けません)。";
    case eDownloadFailure::TooLarge: return "64 MB を超えたため中止しました。";
    case eDownloadFailure::NotLzh: return "受け取ったデータは LZH 書庫ではありません。";
    case eDownloadFailure::Truncated: return "受け取ったデータは途中で切れています (" + detail + " バイト)。";
    case eDownloadFailure::Damaged: return "受け取った LZH 書庫は途中で切れているか壊れています。";
    case eDownloadFailure::Save: return "ダウンロード フォルダーに保存できません。";
    case eDownloadFailure::Network:
    case eDownloadFailure::None: break;
  }
  return "通信エラーが起きました。";
}

}  // namespace

std::string NumberedName(const std::string& name, int n) {
  if (n == 0) return name;
  const std::size_t dot = name.rfind('.');
  const std::size_t stem = dot == std::string::npos || dot == 0 ? name.size() : dot;
  return name.substr(0, stem) + " (" + std::to_string(n) + ")" + name.substr(stem);
}

std::vector<std::string> NewestPeriods(int year, int month) {
  if (month >= 11) return {PeriodText(year, 10), PeriodText(year, 4)};
  if (month >= 5) return {PeriodText(year, 4), PeriodText(year - 1, 10)};
  return {PeriodText(year - 1, 10), PeriodText(year - 1, 4)};
}

std::vector<std::string> NewestPeriodsToday() {
  const cYearMonth today = LocalYearMonth();
  return NewestPeriods(today.year, today.month);
}

bool IsValidPeriod(std::string_view yymm) {
  if (yymm.size() != 4) return false;
  for (const char c : yymm)
    if (c < '0' || c > '9') return false;
  return yymm.substr(2) == "04" || yymm.substr(2) == "10";
}

std::vector<std::string> PeriodsBefore(std::string_view yymm, int count) {
  if (!IsValidPeriod(yymm)) return {};
  // Counted in half years from April 2000: 0104 is the second.
  int half = ((yymm[0] - '0') * 10 + (yymm[1] - '0')) * 2 + (yymm.substr(2) == "10" ? 1 : 0);
  std::vector<std::string> periods;
  while (static_cast<int>(periods.size()) < count && --half >= kFirstPublishedHalf)
    periods.push_back(PeriodText(half / 2, half % 2 == 1 ? 10 : 4));
  return periods;
}

std::string ArchivePeriod(std::string_view fileName) {
  if (!fileName.starts_with("fan") || !IsValidPeriod(fileName.substr(3, 4))) return {};
  return std::string(fileName.substr(3, 4));
}

std::string ArchiveUrl(std::string_view base, std::string_view yymm) {
  std::string url(base);
  while (!url.empty() && url.back() == '/') url.pop_back();
  return url + "/fan" + std::string(yymm) + ".lzh";
}

std::string DownloadBase() {
  const char* mirror = std::getenv("TOBIREX_DOWNLOAD_BASE");
  return mirror != nullptr && *mirror != '\0' ? mirror : kOfficialArchiveBase;
}

bool RedirectAllowed(std::string_view from, std::string_view to, int hopsSoFar) {
  const std::string_view scheme = SchemeOf(to);
  return hopsSoFar < kMaxRedirects && !scheme.empty() && !(SchemeOf(from) == "https" && scheme == "http");
}

std::string ResolveUrl(std::string_view base, std::string_view location) {
  const std::size_t colon = location.find(':');
  const std::size_t slash = location.find('/');
  if (colon != std::string_view::npos && (slash == std::string_view::npos || colon < slash)) return std::string(location);
  const std::size_t hostStart = base.find("://") == std::string_view::npos ? 0 : base.find("://") + 3;
  const std::size_t pathStart = std::min(base.find_first_of("/?#", hostStart), base.size());
  if (location.starts_with("//")) return std::string(base.substr(0, hostStart - 2)) + std::string(location);
  if (location.starts_with("/")) return std::string(base.substr(0, pathStart)) + std::string(location);
  const std::size_t query = std::min(base.find_first_of("?#", pathStart), base.size());
  const std::size_t lastSlash = base.rfind('/', query);
  if (lastSlash == std::string_view::npos || lastSlash < pathStart)
    return std::string(base.substr(0, pathStart)) + "/" + std::string(location);
  return std::string(base.substr(0, lastSlash + 1)) + std::string(location);
}

std::string ReceivedText(std::uint64_t received, std::optional<std::uint64_t> announced) {
  std::string text = std::to_string(received / 1024) + " KB";
  if (announced) text += " / " + std::to_string(*announced / 1024) + " KB";
  return text;
}

cBodyVerdict JudgeBody(std::string_view body, std::optional<std::uint64_t> announced) {
  if (announced && body.size() < *announced) {
    return {eDownloadFailure::Truncated, std::to_string(body.size()) + " / " + std::to_string(*announced)};
  }
  if (!IsLzhArchive(body)) return {eDownloadFailure::NotLzh, {}};
  switch (CheckArchive(body, kMaxFanFileBytes)) {
    case eArchiveFailure::None:
    case eArchiveFailure::NoFanMember: return {};  // whole; the conversion tells what it lacks
    case eArchiveFailure::TooLarge: return {eDownloadFailure::TooLarge, {}};
    case eArchiveFailure::Damaged: break;
  }
  return {eDownloadFailure::Damaged, {}};
}

std::string DownloadFailureText(const std::string& url, eDownloadFailure failure, const std::string& detail,
                                const cDownloadLimits& limits) {
  std::string text =
      "ファン手帳ファイルをダウンロードできません。\r\n" + url + "\r\n" + FailureReason(failure, detail, limits);
  const bool told = failure == eDownloadFailure::HttpStatus || failure == eDownloadFailure::Truncated;
  if (!told && !detail.empty()) text += "\r\n" + detail;
  return text;
}

std::optional<fs::path> SaveArchive(const fs::path& folder, const std::string& name, std::string_view bytes,
                                    std::error_code& ec) {
  ec.clear();
  cFileSystem& files = SystemFileSystem();
  try {
    MakeFolders(files, folder);
    RemoveStaleNewFiles(folder, kTemporaryPrefix);
    std::optional<cNewFile> file;
    for (int n = 0; n < 10000; ++n) {
      const fs::path target = folder / PathFromUtf8(NumberedName(name, n));
      if (files.Look(target).kind != eEntryKind::Missing) {
        if (HoldsBytes(files, target, bytes)) return target;
        continue;
      }
      if (!file) file.emplace(folder, kTemporaryPrefix, bytes);
      if (file->PlaceAs(target)) return target;
    }
    ec.assign(NameTakenError(), std::system_category());
  } catch (const cFileFailure& e) {
    ec.assign(e.Errno(), std::system_category());
  }
  return std::nullopt;
}

void JudgeFetch(cFetchResult& fetched) {
  const bool cut = fetched.announced && fetched.bytes.size() < *fetched.announced;
  // A body that ends before its Content-Length is told as cut, whatever error the early close raised.
  if (fetched.failure == eDownloadFailure::Network && cut) fetched.failure = eDownloadFailure::None;
  if (fetched.failure != eDownloadFailure::None) {
    // Stopped by a limit, the network or a refused redirect; told as it is.
  } else if (fetched.status != 200) {
    fetched.failure = eDownloadFailure::HttpStatus;
    fetched.detail = std::to_string(fetched.status);
  } else {
    cBodyVerdict verdict = JudgeBody(fetched.bytes, fetched.announced);
    fetched.failure = verdict.failure;
    fetched.detail = std::move(verdict.detail);
  }
  if (fetched.failure != eDownloadFailure::None) fetched.bytes.clear();
}

std::optional<fs::path> DownloadArchive(const cFetch& fetch, const std::string& yymm, const std::string& base,
                                        const fs::path& folder, const cDownloadLimits& limits,
                                        cWindowServices& window) {
  const std::vector<std::string> periods = yymm.empty() ? NewestPeriodsToday() : std::vector<std::string>{yymm};
  window.SetLabel(ProgressLabel::Message, "ダウンロードしています ...");
  window.SetLabel(ProgressLabel::Counter, "0 KB");
  window.DoEvents();
  cFetchResult fetched;
  std::string url, period;
  for (const std::string& candidate : periods) {
    period = candidate;
    url = ArchiveUrl(base, period);
    fetched = fetch(url);
    JudgeFetch(fetched);
    // A period not yet published answers 404; only then is the one before it tried.
    if (fetched.failure != eDownloadFailure::HttpStatus || fetched.status != 404) break;
  }
  const auto fail = [&](eDownloadFailure failure, const std::string& detail) {
    window.MsgBox(DownloadFailureText(url, failure, detail, limits), MsgButtons::OK, MsgIcon::Exclamation, kAppTitle);
    return std::nullopt;
  };
  if (fetched.failure != eDownloadFailure::None) return fail(fetched.failure, fetched.detail);
  ThrowIfInterrupted();  // asked while the archive was checked: nothing is saved
  std::error_code ec;
  std::optional<fs::path> saved = SaveArchive(folder, "fan" + period + ".lzh", fetched.bytes, ec);
  if (!saved) return fail(eDownloadFailure::Save, PathToUtf8(folder) + ": " + ErrorText(ec.value()));
  return saved;
}

cFetchResult FetchFollowingRedirects(const cHttpRequest& request, const std::string& url,
                                     const cDownloadLimits& limits, cWindowServices& window) {
  const auto start = std::chrono::steady_clock::now();
  cFetchResult fetched;
  std::string at = url;
  for (int hops = 0;; ++hops) {
    eDownloadFailure stop = eDownloadFailure::None;
    cHttpReply reply = Request(request, at, limits, start, window, stop);
    fetched = {FailureOf(reply.failure), reply.status, std::move(reply.detail), std::move(reply.body), reply.announced};
    if (stop != eDownloadFailure::None) {
      fetched.failure = stop;  // the limit is the reason, not how the transfer broke off
      fetched.detail.clear();
      return fetched;
    }
    if (fetched.failure != eDownloadFailure::None || !IsRedirect(reply.status) || reply.location.empty()) return fetched;
    std::string next = ResolveUrl(at, reply.location);
    if (!RedirectAllowed(at, next, hops)) {
      fetched.failure = eDownloadFailure::Redirect;
      fetched.detail = std::move(next);
      return fetched;
    }
    at = std::move(next);
  }
}

cHttpDownloader::cHttpDownloader(cHttpRequest request, fs::path folder, std::string base, cDownloadLimits limits)
    : m_Request(std::move(request)), m_Folder(std::move(folder)), m_Base(std::move(base)), m_Limits(limits) {}

std::optional<fs::path> cHttpDownloader::Download(const std::string& yymm, cWindowServices& window) {
  const cFetch fetch = [&](const std::string& url) { return FetchFollowingRedirects(m_Request, url, m_Limits, window); };
  return DownloadArchive(fetch, yymm, m_Base, m_Folder, m_Limits, window);
}
