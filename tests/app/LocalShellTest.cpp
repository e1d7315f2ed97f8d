#include "app/mGlobal.h"

#include <gtest/gtest.h>

#include <fstream>

#include "FakeShell.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

void Touch(const fs::path& file) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << "x";
}

TEST(ShellDelete, RemovesTheWholeTreeAtOnce) {
  cTempDir temp;
  const fs::path site = temp.Path() / "ファン手帳";
  Touch(site / "ファン手帳.html");
  Touch(site / "4000" / "4321.html");
  cFakeShell shell("");
  shell.ShellDelete(site);
  EXPECT_FALSE(fs::exists(site));
  EXPECT_NO_THROW(shell.ShellDelete(site));  // gone already: nothing to report
}

TEST(ShellDelete, NeverFollowsALinkOutOfTheTree) {
  cTempDir temp;
  const fs::path keep = temp.Path() / "keep";
  Touch(keep / "precious.txt");
  const fs::path site = temp.Path() / "site";
  Touch(site / "ファン手帳.html");
  fs::create_directory_symlink(keep, site / "4000");
  fs::create_symlink(keep / "precious.txt", site / "索引.html");
  cFakeShell("").ShellDelete(site);
  EXPECT_FALSE(fs::exists(fs::symlink_status(site)));
  EXPECT_TRUE(fs::exists(keep / "precious.txt"));
}

TEST(ShellDelete, RemovesALinkedOutputFolderButNotWhatItLeadsTo) {
  cTempDir temp;
  const fs::path real = temp.Path() / "real";
  Touch(real / "ファン手帳.html");
  const fs::path link = temp.Path() / "site";
  fs::create_directory_symlink(real, link);
  cFakeShell("").ShellDelete(link);
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
  EXPECT_TRUE(fs::exists(real / "ファン手帳.html"));
}

TEST(LocalShellServices, PlainFilesAndFolders) {
  cTempDir temp;
  const fs::path file = temp.WriteFile("ファン 2510.txt", "x");
  const fs::path folder = temp.Path() / "folder";
  fs::create_directory(folder);
  fs::create_symlink(file, temp.Path() / "file-link");
  fs::create_directory_symlink(folder, temp.Path() / "folder-link");
  struct Row {
    fs::path path;
    bool plainFile, folder;
  };
  const Row rows[] = {{file, true, false},
                      {temp.Path() / "file-link", true, false},
                      {folder, false, true},
                      {temp.Path() / "folder-link", false, true},
                      {temp.Path() / "missing", false, false},
                      {"/dev/null", false, false}};
  cFakeShell shell("");
  for (const Row& r : rows) {
    SCOPED_TRACE(r.path);
    EXPECT_EQ(shell.PlainFileExists(r.path), r.plainFile);
    EXPECT_EQ(shell.FolderExists(r.path), r.folder);
  }
}

}  // namespace
