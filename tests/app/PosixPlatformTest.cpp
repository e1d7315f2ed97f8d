// What only the POSIX platform does: exchanging two folders in one step.
#include <gtest/gtest.h>

#include "platform/FileSystem.h"
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

}  // namespace
