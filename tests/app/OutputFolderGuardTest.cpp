#include "app/OutputFolderGuard.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

void Touch(const fs::path& file) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << "x";
}

void MakeSite(const fs::path& folder) {
  Touch(folder / "ファン手帳.html");
  Touch(folder / "索引.html");
  Touch(folder / "0000" / "0123.html");
  Touch(folder / "4000" / "4321.html");
}

TEST(CheckOutputFolder, AcceptsNothingEmptyOrOurSiteAndNamesAnythingElse) {
  struct Row {
    const char* name;
    std::function<void(const fs::path&)> make;
    const char* stranger;  // relative to the folder; nullptr when accepted, "" for the folder itself
  };
  const fs::path outside = fs::temp_directory_path();
  const Row rows[] = {
      {"missing", [](const fs::path&) {}, nullptr},
      {"empty", [](const fs::path& d) { fs::create_directory(d); }, nullptr},
      {"our site", MakeSite, nullptr},
      {"site of a failed load: empty page folders",
       [](const fs::path& d) {
         fs::create_directories(d / "3000");
         fs::create_directories(d / "4000");
       },
       nullptr},
      {"a file of the user's",
       [](const fs::path& d) {
         MakeSite(d);
         Touch(d / "notes.txt");
       },
       "notes.txt"},
      {"a photo among racer pages", [](const fs::path& d) { Touch(d / "4000" / "photo.jpg"); }, "4000/photo.jpg"},
      {"a short page name", [](const fs::path& d) { Touch(d / "0000" / "123.html"); }, "0000/123.html"},
      {"another extension", [](const fs::path& d) { Touch(d / "4000" / "4321.htm"); }, "4000/4321.htm"},
      {"a subfolder in a page folder", [](const fs::path& d) { fs::create_directories(d / "4000" / "old"); },
       "4000/old"},
      {"a five-digit folder", [](const fs::path& d) { fs::create_directories(d / "12000"); }, "12000"},
      {"a named folder", [](const fs::path& d) { fs::create_directories(d / "photos"); }, "photos"},
      {"a folder named like the roster page", [](const fs::path& d) { fs::create_directories(d / "索引.html"); },
       "索引.html"},
      {"a plain file, not a folder", [](const fs::path& d) { Touch(d); }, ""},
      {"a link named like a page folder",
       [&](const fs::path& d) {
         fs::create_directory(d);
         fs::create_directory_symlink(outside, d / "4000");
       },
       "4000"},
      {"a link named like the roster page",
       [](const fs::path& d) {
         MakeSite(d);
         fs::remove(d / "ファン手帳.html");
         fs::create_symlink(d / "索引.html", d / "ファン手帳.html");
       },
       "ファン手帳.html"},
      {"a dangling link", [](const fs::path& d) { fs::create_symlink(d.parent_path() / "gone", d); }, ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    cTempDir temp;
    const fs::path folder = temp.Path() / "site";
    r.make(folder);
    const cFolderCheck check = CheckOutputFolder(folder);
    EXPECT_EQ(check.ok, r.stranger == nullptr);
    if (r.stranger) {
      EXPECT_EQ(check.stranger, *r.stranger ? folder / r.stranger : folder);
    }
  }
}

TEST(CheckOutputFolder, JudgesALinkedFolderByWhatItHolds) {
  cTempDir temp;
  MakeSite(temp.Path() / "real");
  fs::create_directory_symlink(temp.Path() / "real", temp.Path() / "link");
  EXPECT_TRUE(CheckOutputFolder(temp.Path() / "link").ok);
  Touch(temp.Path() / "real" / "mine.txt");
  EXPECT_FALSE(CheckOutputFolder(temp.Path() / "link").ok);
}

}  // namespace
