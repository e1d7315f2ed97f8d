#include "app/OutputFolderGuard.h"

#include <algorithm>
#include <optional>
#include <string>

namespace fs = std::filesystem;

namespace {

bool IsFourDigits(const std::string& text) {
  return text.size() == 4 && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The racer number as the file wrote it, whatever its characters.
bool IsRacerPageName(const std::string& name) { return name.size() > 5 && name.ends_with(".html"); }

bool IsSitePage(const std::string& name) { return name == "ファン手帳.html" || name == "索引.html"; }

// The first entry of a per-thousand folder that is not a racer page.
std::optional<fs::path> StrangerInPageFolder(const fs::path& folder) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!fs::is_regular_file(it->symlink_status()) || !IsRacerPageName(it->path().filename().string()))
      return it->path();
  }
  if (ec) return folder;  // unreadable: cannot vouch for it
  return std::nullopt;
}

std::optional<fs::path> StrangerInSite(const fs::path& folder) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const fs::file_status status = it->symlink_status();
    if (fs::is_regular_file(status) && IsSitePage(name)) continue;
    if (!fs::is_directory(status) || !IsFourDigits(name)) return it->path();
    if (auto stranger = StrangerInPageFolder(it->path())) return stranger;
  }
  if (ec) return folder;
  return std::nullopt;
}

}  // namespace

cFolderCheck CheckOutputFolder(const fs::path& folder) {
  std::error_code ec;
  const fs::file_status own = fs::symlink_status(folder, ec);
  if (own.type() == fs::file_type::not_found) return {};
  if (ec) return {false, folder};  // cannot look at it: cannot vouch for it
  // A link to a folder is judged by the folder it leads to; the run removes only the link.
  if (!fs::is_directory(fs::status(folder, ec))) return {false, folder};
  if (auto stranger = StrangerInSite(folder)) return {false, *stranger};
  return {};
}
