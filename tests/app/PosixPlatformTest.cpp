// What only the POSIX platform does: exchanging two folders in one step, the
// account's home from the password database.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/FileSystem.h"
#include "platform/KnownFolders.h"
#include "platform/SiteFolder.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

// An exchange the system refuses (EINVAL, as where it has none) sends the
// swap down the rename-aside path; any other failure is told.
TEST(PosixFileSystem, AnExchangeTheSystemRefusesIsNoFailure) {
  cTempDir tmp;
  fs::create_directories(tmp.Path() / "site" / "4000");
  cFileSystem& files = SystemFileSystem();
  EXPECT_FALSE(files.Exchange(tmp.Path() / "site", tmp.Path() / "site" / "4000"));  // a folder into itself
  EXPECT_THROW(files.Exchange(tmp.Path() / "site", tmp.Path() / "missing"), cFileFailure);
  EXPECT_TRUE(fs::is_directory(tmp.Path() / "site" / "4000"));
}

// Without HOME the desktop is in the home the account names.
TEST(KnownFolders, WithoutHomeTheAccountsHomeIsTaken) {
  cTempDir config;
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);  // no user-dirs.dirs: the usual names
  ::unsetenv("HOME");
  const fs::path desktop = DesktopFolder(), downloads = DownloadFolder();
  ::setenv("HOME", home.c_str(), 1);
  ::unsetenv("XDG_CONFIG_HOME");
  const fs::path account = ::getpwuid(::getuid())->pw_dir;
  EXPECT_EQ(desktop, fs::is_directory(account) ? account / "Desktop" : fs::path());
  EXPECT_EQ(downloads, fs::is_directory(account) ? account / "Downloads" : fs::path());
}

}  // namespace
