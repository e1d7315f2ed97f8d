#include "app/mGlobal.h"

namespace fs = std::filesystem;

void cLocalShellServices::ShellDelete(const fs::path& folder) {
  // remove_all looks at each entry without following links, so a link inside
  // the tree (or the folder itself being a link) loses only the link.
  std::error_code ec;
  fs::remove_all(folder, ec);
}

bool cLocalShellServices::FolderExists(const fs::path& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool cLocalShellServices::PlainFileExists(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

void cLocalShellServices::CreateFolders(const fs::path& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
}
