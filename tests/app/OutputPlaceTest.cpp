// Where the output folder really is, and whether a new site can be built
// beside it and swapped in, on this system's own file system.
#include "app/OutputPlace.h"

#include <gtest/gtest.h>

#include "support/StepFileSystem.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

struct cReadOnlyParents : cStepFileSystem {
  cReadOnlyParents() : cStepFileSystem(0, eFault::FailOnce, true) {}
  bool CanWriteIn(const fs::path&) override { return false; }
};

TEST(OutputPlace, ResolvesTheFolderAndTellsWhyNoSiteCanGoThere) {
  cTempDir tmp;
  const fs::path site = tmp.Path() / "site";
  fs::create_directories(site / "sub");
  const fs::path cwd = fs::current_path();
  fs::current_path(site / "sub");
  const fs::path root = tmp.Path().root_path();
  const struct {
    fs::path named, folder;
    ePlaceProblem problem;
  } rows[] = {{"..", site, ePlaceProblem::None},
              {site / ".", site, ePlaceProblem::None},
              {site / "sub/", site / "sub", ePlaceProblem::None},
              {root, root, ePlaceProblem::NoParent}};
  for (const auto& row : rows) {
    const cOutputPlace place = ResolveOutputPlace(SystemFileSystem(), row.named);
    EXPECT_EQ(place.folder, row.folder) << row.named;
    EXPECT_EQ(place.problem, row.problem) << row.named;
  }
  fs::current_path(cwd);
  cReadOnlyParents readOnly;
  EXPECT_EQ(ResolveOutputPlace(readOnly, site).problem, ePlaceProblem::ParentNotWritable);
}

// Asked of the folder itself, not of its name: a file or nothing is no place to write.
TEST(FileSystem, CanWriteInOnlyAFolderThatTakesANewEntry) {
  cTempDir tmp;
  const fs::path file = tmp.WriteFile("file", "x");
  EXPECT_TRUE(SystemFileSystem().CanWriteIn(tmp.Path()));
  EXPECT_FALSE(SystemFileSystem().CanWriteIn(file));
  EXPECT_FALSE(SystemFileSystem().CanWriteIn(tmp.Path() / "missing"));
  EXPECT_EQ(std::distance(fs::directory_iterator(tmp.Path()), fs::directory_iterator()), 1);  // nothing left by trying
}

}  // namespace
