#include "app/FanDownload.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/ErrorText.h"
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

// "fan2510.lzh" as "fan2510 (n).lzh", the way browsers keep both files.
std::string NumberedName(const std::string& name, int n) {
  if (n == 0) return name;
  const std::size_t dot = name.rfind('.');
  const std::size_t stem = dot == std::string::npos || dot == 0 ? name.size() : dot;
  return name.substr(0, stem) + " (" + std::to_string(n) + ")" + name.substr(stem);
}

bool HoldsBytes(const fs::path& file, std::string_view bytes) {
  std::error_code ec;
  if (!fs::is_regular_file(file, ec) || fs::file_size(file, ec) != bytes.size()) return false;
  std::ifstream in(file, std::ios::binary);
  const std::string held((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return held == bytes;
}

// The official site's archives start with 2001's first half (fan0104).
constexpr int kFirstPublishedHalf = 2;

// Every temporary file of the download starts with this; a killed download's are removed by the next.
constexpr const char* kTemporaryPrefix = ".tobirex-download-";

// "30 秒", "10 分".
std::string DurationText(std::chrono::seconds limit) {
  const long long s = limit.count();
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
  fs::create_directories(folder, ec);
  if (ec) return std::nullopt;
  RemoveStaleNewFiles(folder, kTemporaryPrefix);
  try {
    std::optional<cNewFile> file;
    for (int n = 0; n < 10000; ++n) {
      const fs::path target = folder / PathFromUtf8(NumberedName(name, n));
      if (fs::exists(fs::symlink_status(target))) {
        if (HoldsBytes(target, bytes)) return target;
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
