#include "app/SiteEntries.h"

#include <algorithm>
#include <cctype>

#include "report/ExtraPages.h"
#include "report/Format.h"
#include "sensyu/Cp932.h"

namespace {

bool IsFourDigits(const std::string& text) {
  return text.size() == 4 && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The page of a racer number: the four characters that begin a racer line,
// which read as a number, and ".html".
bool IsRacerPageName(const std::string& name) {
  if (!name.ends_with(".html")) return false;
  const std::string_view no = std::string_view(name).substr(0, name.size() - 5);
  return !no.empty() && FirstChars(no, 4).size() == no.size() && IsNumericText(no);
}

// Windows Explorer's folder settings and thumbnails, and the Mac Finder's
// settings on a shared folder; Windows names them in any case.
bool IsFileManagersFile(const std::string& name) {
  std::string lower = name;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower == "desktop.ini" || lower == "thumbs.db" || lower == ".ds_store";
}

eSiteEntry Others(const std::string& name, eEntryKind kind) {
  return kind == eEntryKind::File && IsFileManagersFile(name) ? eSiteEntry::FileManagers : eSiteEntry::Foreign;
}

bool IsSitePage(const std::string& name) {
  return name == "ファン手帳.html" || name == "索引.html" || name == kRankingPageName || name == kRaceCardPageName;
}

}  // namespace

eSiteEntry TopEntry(const std::string& name, eEntryKind kind) {
  if (kind == eEntryKind::File && IsSitePage(name)) return eSiteEntry::Page;
  if (kind == eEntryKind::Folder && IsFourDigits(name)) return eSiteEntry::PageFolder;
  return Others(name, kind);
}

eSiteEntry PageFolderEntry(const std::string& name, eEntryKind kind) {
  return kind == eEntryKind::File && IsRacerPageName(name) ? eSiteEntry::Page : Others(name, kind);
}
