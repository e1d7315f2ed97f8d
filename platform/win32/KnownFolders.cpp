#include "platform/KnownFolders.h"

#include <shlobj.h>

namespace {

std::filesystem::path Known(REFKNOWNFOLDERID id) {
  wchar_t* path = nullptr;
  std::filesystem::path folder;
  if (SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &path))) folder = path;
  ::CoTaskMemFree(path);
  return folder;
}

}  // namespace

std::filesystem::path DesktopFolder() { return Known(FOLDERID_Desktop); }

std::filesystem::path DownloadFolder() { return Known(FOLDERID_Downloads); }
