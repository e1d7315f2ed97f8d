#include "app/FanDownload.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>

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
  const fs::path plain(name);
  return plain.stem().string() + " (" + std::to_string(n) + ")" + plain.extension().string();
}

bool HoldsBytes(const fs::path& file, std::string_view bytes) {
  std::error_code ec;
  if (!fs::is_regular_file(file, ec) || fs::file_size(file, ec) != bytes.size()) return false;
  std::ifstream in(file, std::ios::binary);
  const std::string held((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return held == bytes;
}

// A hidden file beside the target, so the final step is a link or rename
// within one file system and a half-written archive never bears the real name.
std::optional<fs::path> WriteTemporary(const fs::path& folder, std::string_view bytes, std::error_code& ec) {
  std::string pattern = (folder / ".tobirex-download-XXXXXX").string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    ec.assign(errno, std::generic_category());
    return std::nullopt;
  }
  // mkstemp makes the file private; a download gets the user's usual permissions.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  if (done != bytes.size() || ::fsync(fd) != 0) ec.assign(errno != 0 ? errno : EIO, std::generic_category());
  if (::close(fd) != 0 && !ec) ec.assign(errno, std::generic_category());
  if (!ec) return fs::path(pattern);
  ::unlink(pattern.c_str());
  return std::nullopt;
}

// A hard link fails when the name is taken, so a file that appeared meanwhile
// is never replaced; rename is the fallback where links are not supported.
bool PlaceUnder(const fs::path& temp, const fs::path& target, std::error_code& ec) {
  fs::create_hard_link(temp, target, ec);
  if (!ec) {
    fs::remove(temp, ec);
    ec.clear();
    return true;
  }
  std::error_code probe;
  const bool taken = ec == std::errc::file_exists || fs::exists(fs::symlink_status(target, probe));
  ec.clear();
  if (taken) return false;
  fs::rename(temp, target, ec);
  return !ec;
}

std::string FailureReason(eDownloadFailure failure, const std::string& detail) {
  switch (failure) {
    case eDownloadFailure::HostLookup: return "サーバーの名前を解決できません。";
    case eDownloadFailure::Connect: return "サーバーに接続できません。";
    case eDownloadFailure::Tls: return "安全な接続 (TLS) を確立できません。";
    case eDownloadFailure::Timeout: return "30 秒間データが届きませんでした。";
    case eDownloadFailure::HttpStatus: return "サーバーの応答は HTTP " + detail + " でした。";
    case eDownloadFailure::TooLarge: return "64 MB を超えたため中止しました。";
    case eDownloadFailure::NotLzh: return "受け取ったデータは LZH 書庫ではありません。";
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
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return NewestPeriods(local.tm_year + 1900, local.tm_mon + 1);
}

bool IsValidPeriod(std::string_view yymm) {
  if (yymm.size() != 4) return false;
  for (const char c : yymm)
    if (c < '0' || c > '9') return false;
  return yymm.substr(2) == "04" || yymm.substr(2) == "10";
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

std::string DownloadFailureText(const std::string& url, eDownloadFailure failure, const std::string& detail) {
  std::string text = "ファン手帳ファイルをダウンロードできません。\r\n" + url + "\r\n" + FailureReason(failure, detail);
  if (failure != eDownloadFailure::HttpStatus && !detail.empty()) text += "\r\n" + detail;
  return text;
}

std::optional<fs::path> SaveArchive(const fs::path& folder, const std::string& name, std::string_view bytes,
                                    std::error_code& ec) {
  ec.clear();
  fs::create_directories(folder, ec);
  if (ec) return std::nullopt;
  std::optional<fs::path> temp;
  for (int n = 0; n < 10000; ++n) {
    const fs::path target = folder / NumberedName(name, n);
    if (fs::exists(fs::symlink_status(target))) {
      if (!HoldsBytes(target, bytes)) continue;
      if (temp) fs::remove(*temp, ec);
      ec.clear();
      return target;
    }
    if (!temp && !(temp = WriteTemporary(folder, bytes, ec))) return std::nullopt;
    if (PlaceUnder(*temp, target, ec)) return target;
    if (ec) break;
  }
  std::error_code ignored;
  if (temp) fs::remove(*temp, ignored);
  if (!ec) ec = std::make_error_code(std::errc::file_exists);
  return std::nullopt;
}
