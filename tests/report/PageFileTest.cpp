#include "report/PageFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "support/TempDir.h"

namespace {

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs the call and returns the errno of the cFileFailure it throws, after
// checking that the failure names the path; 0 when nothing is thrown.
template <typename Call>
int FailureErrno(const std::filesystem::path& path, Call call) {
  try {
    call();
  } catch (const cFileFailure& e) {
    EXPECT_EQ(e.File(), path);
    EXPECT_EQ(std::string(e.what()), path.string() + ": " + std::strerror(e.Errno()));
    return e.Errno();
  }
  return 0;
}

TEST(SavePage, WritesCodePage932AndKeepsCrLf) {
  cTempDir dir;
  auto file = dir.Path() / "ファン手帳.html";
  cPageText page;
  page << "<HTML>" << "～■\u3000ｶﾞ";
  page.EndLine();
  page << "索引";
  SavePage(file, page.Bytes());
  EXPECT_EQ(ReadBytes(file), "<HTML>\x81\x60\x81\xA1\x81\x40\xB6\xDE\r\n\x8D\xF5\x88\xF8");
}

TEST(PageText, EscapesOnlyAmpersandAndAngleBracketsOfFileText) {
  cPageText page;
  page << Escaped{"<script>a&b</script>"} << "|" << Escaped{"&amp;"} << "|" << Escaped{"\"'静 ｱ"} << "<B>";
  EXPECT_EQ(page.Bytes(), "&lt;script&gt;a&amp;b&lt;/script&gt;|&amp;amp;|\"'\x90\xC3 \xB1<B>");
}

TEST(SavePage, ReplacesAnExistingLongerFile) {
  cTempDir dir;
  auto file = dir.WriteFile("4321.html", std::string(5000, 'x'));
  SavePage(file, "new\r\n");
  EXPECT_EQ(ReadBytes(file), "new\r\n");
  SavePage(file, "");
  EXPECT_EQ(ReadBytes(file), "");
}

TEST(SavePage, UnwritablePathThrowsWithTheSystemError) {
  cTempDir dir;
  auto missing = dir.Path() / "4000" / "4321.html";
  EXPECT_EQ(FailureErrno(missing, [&] { SavePage(missing, "x"); }), ENOENT);
  EXPECT_EQ(FailureErrno(dir.Path(), [&] { SavePage(dir.Path(), "x"); }), EISDIR);
}

TEST(SavePage, FullDeviceThrowsOnWrite) {
  const std::filesystem::path full = "/dev/full";
  if (!std::filesystem::exists(full)) GTEST_SKIP() << "no /dev/full here";
  EXPECT_EQ(FailureErrno(full, [&] { SavePage(full, "<HTML>"); }), ENOSPC);
}

TEST(CreateFolder, CreatesOneLevelAndAcceptsAnExistingFolder) {
  cTempDir dir;
  auto folder = dir.Path() / "ファン手帳";
  CreateFolder(folder);
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  CreateFolder(folder);
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(CreateFolder, FailuresCarryTheSystemError) {
  cTempDir dir;
  auto twoLevels = dir.Path() / "a" / "4000";
  EXPECT_EQ(FailureErrno(twoLevels, [&] { CreateFolder(twoLevels); }), ENOENT);
  auto file = dir.WriteFile("4000", "not a folder");
  EXPECT_EQ(FailureErrno(file, [&] { CreateFolder(file); }), EEXIST);
}

}  // namespace
