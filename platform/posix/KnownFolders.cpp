#include "platform/KnownFolders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The account's home as the password database has it: a start without HOME
// (a service, `env -i`) still belongs to an account. One that names no
// folder there (nobody's "/nonexistent") is no home.
fs::path AccountHome() {
  std::vector<char> buffer(16384);
  struct passwd entry{};
  struct passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return {};
  struct stat st{};
  if (found->pw_dir == nullptr || ::stat(found->pw_dir, &st) != 0 || !S_ISDIR(st.st_mode)) return {};
  return found->pw_dir;
}

fs::path Home() {
  const char* home = std::getenv("HOME");
  return home != nullptr && *home != '\0' ? fs::path(home) : AccountHome();
}

fs::path ConfigHome() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && *config == '/') return config;
  return Home().empty() ? fs::path() : Home() / ".config";
}

// A line of user-dirs.dirs: XDG_DESKTOP_DIR="$HOME/デスクトップ" (or an absolute path).
fs::path ValueOf(const std::string& line, const std::string& key, const fs::path& home) {
  const std::string lead = key + "=\"";
  if (!line.starts_with(lead) || line.size() < lead.size() + 1 || line.back() != '"') return {};
  const std::string value = line.substr(lead.size(), line.size() - lead.size() - 1);
  if (value.starts_with("$HOME")) return home.empty() ? fs::path() : fs::path(home.string() + value.substr(5));
  return value.starts_with("/") ? fs::path(value) : fs::path();
}

// The folder xdg-user-dirs names under `key`, else ~/fallback.
fs::path UserDir(const std::string& key, const char* fallback) {
  const fs::path home = Home();
  if (const fs::path config = ConfigHome(); !config.empty()) {
    std::ifstream dirs(config / "user-dirs.dirs");
    for (std::string line; std::getline(dirs, line);) {
      if (fs::path named = ValueOf(line, key, home); !named.empty()) return named.lexically_normal();
    }
  }
  return home.empty() ? fs::path() : home / fallback;
}

}  // namespace

fs::path DesktopFolder() { return UserDir("XDG_DESKTOP_DIR", "Desktop"); }

fs::path DownloadFolder() { return UserDir("XDG_DOWNLOAD_DIR", "Downloads"); }
