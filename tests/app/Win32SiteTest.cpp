// What only the Windows side has to show: a new file whose write the system
// refuses (here: bytes it cannot read) leaves no hidden file behind.
#include <gtest/gtest.h>

#include "platform/NewFile.h"
#include "platform/SiteFolder.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

TEST(NewFile, AWriteThatFailsLeavesNothing) {
  cTempDir tmp;
  const std::string_view unreadable(reinterpret_cast<const char*>(16), 4096);
  EXPECT_THROW(cNewFile(tmp.Path(), ".tobirex-test-", unreadable), cFileFailure);
  EXPECT_TRUE(fs::is_empty(tmp.Path()));
}
