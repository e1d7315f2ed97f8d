// What only the POSIX side has: folder modes and set-group-ID, symbolic links
// and exchanging two folders in one step.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "app/SiteStaging.h"
#include "app/mGlobal.h"
#include "platform/NewFile.h"
#include "platform/SiteFolder.h"
#include "support/SiteTree.h"
#include "support/TempDir.h"
#include "support/TestData.h"

namespace fs = std::filesystem;

namespace {

TEST(SiteStaging, TheNewSiteTakesTheOldFoldersMode) {
  cTempDir tmp;
  const fs::path output = tmp.Path() / "site";
  Plant(output, kOld);
  fs::permissions(output, fs::perms::owner_all | fs::perms::group_all | fs::perms::set_gid);
  cSiteStaging staging(SystemFileSystem(), output);
  staging.Begin([] {});
  EXPECT_EQ(fs::status(staging.Folder()).permissions(), fs::perms::owner_all | fs::perms::set_gid);  // private while built
  staging.Commit();
  EXPECT_EQ(fs::status(output).permissions(), fs::perms::owner_all | fs::perms::group_all | fs::perms::set_gid);
}

// A link the user put where a page would be is the user's: it moves, and its target is untouched.
TEST(ShellDelete, MovesALinkAsTheUsersOwn) {
  cTempDir tmp;
  const fs::path old = tmp.Path() / "old", into = tmp.Path() / "new";
  Plant(old, kOld);
  Plant(into, kNew);
  fs::create_symlink("/etc", old / "4000" / "4002.html");
  EXPECT_TRUE(ShellDelete(SystemFileSystem(), old, into).empty());
  EXPECT_TRUE(fs::is_symlink(into / "4000" / "4002.html"));
  EXPECT_FALSE(fs::exists(old));
}

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

// A disk that fills up (here: a limit on the file's size) leaves no hidden file behind.
TEST(NewFile, AWriteThatFailsLeavesNothing) {
  cTempDir tmp;
  rlimit before{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
  rlimit small = before;
  small.rlim_cur = 1024;
  std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  EXPECT_THROW(cNewFile(tmp.Path(), ".tobirex-test-", std::string(4096, 'x')), cFileFailure);
  ::setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, SIG_DFL);
  EXPECT_TRUE(fs::is_empty(tmp.Path()));
}

// A name already taken is refused and its file kept; a place that cannot be
// reached is a failure, never told as a taken name.
TEST(NewFile, PlacesOnlyUnderAFreeName) {
  cTempDir tmp;
  tmp.WriteFile("taken.csv", "theirs");
  cNewFile file(tmp.Path(), ".tobirex-test-", "ours");
  EXPECT_FALSE(file.PlaceAs(tmp.Path() / "taken.csv"));
  EXPECT_THROW(file.PlaceAs(tmp.Path() / "gone" / "table.csv"), cFileFailure);
  EXPECT_TRUE(file.PlaceAs(tmp.Path() / "table.csv"));
  EXPECT_EQ(ReadBytes(tmp.Path() / "taken.csv") + ReadBytes(tmp.Path() / "table.csv"), "theirsours");
  EXPECT_EQ(std::distance(fs::directory_iterator(tmp.Path()), fs::directory_iterator()), 2);
}

}  // namespace
