#include <gtest/gtest.h>

#include <string>

#include "sensyu/FanArchive.h"
#include "support/TestData.h"

namespace {

using enum eArchiveFailure;

// The archives were made with Debian's jlha from archive/fan2510.txt (three
// racer lines); damaged-lh5 has one compressed byte flipped, cut-lh5 ends in
// the middle of the compressed data. The upper- and mixed-case names come
// after a notes.txt, so only the name can pick them (liblhasa itself
// lowercases an all-caps name; Fan2510.Txt tests our case folding).
TEST(FanArchive, EachArchiveGivesItsMemberOrItsFailure) {
  const struct {
    const char* file;
    eArchiveFailure failure;
    std::size_t maxBytes = 1 << 20;
  } rows[] = {
      {"lh0-level0.lzh", None},          {"lh5-level0.lzh", None},
      {"lh5-level1.lzh", None},          {"lh5-level2.lzh", None},
      {"lh6-level2.lzh", None},          {"lh7-level1.lzh", None},
      {"upper-case-name.lzh", None},     {"mixed-case-name.lzh", None},
      {"single-other-name.lzh", None},   {"dir-and-one-file.lzh", None},  // a folder entry is no member
      {"two-others.lzh", NoFanMember},   {"damaged-lh5.lzh", Damaged},
      {"cut-lh5.lzh", Damaged},          {"lh5-level1.lzh", TooLarge, 1253},
      {"lh5-level1.lzh", None, 1254},  // a member of exactly the cap
      // Cut inside a member that is skipped: liblhasa's own skip would hang.
      {"cut-two-others.lzh", Damaged},
  };
  const std::string fan = ReadBytes(DataPath("archive/fan2510.txt"));
  for (const auto& r : rows) {
    const std::string archive = ReadBytes(DataPath(std::string("archive/") + r.file));
    EXPECT_TRUE(IsLzhArchive(archive)) << r.file;
    const cArchiveMember member = ExtractFanMember(archive, r.maxBytes);
    EXPECT_EQ(member.failure, r.failure) << r.file;
    EXPECT_EQ(member.bytes, r.failure == None ? fan : "") << r.file;
  }
  EXPECT_FALSE(IsLzhArchive(fan));
  EXPECT_FALSE(IsLzhArchive(ReadBytes(DataPath("archive/lh5-level1.lzh")).substr(0, 6)));
}

// A download is kept only when the whole archive checks out: every good
// archive passes, and every shorter piece of it fails, whether cut inside a
// header, inside compressed data, just before the end mark or between members.
TEST(FanArchive, CheckFindsEveryCut) {
  const struct {
    const char* file;
    eArchiveFailure failure;
    std::size_t maxBytes = 1 << 20;
  } rows[] = {
      {"lh0-level0.lzh", None},      {"lh5-level0.lzh", None},        {"lh5-level1.lzh", None},
      {"lh5-level2.lzh", None},      {"lh6-level2.lzh", None},        {"lh7-level1.lzh", None},
      {"two-others.lzh", None},      {"dir-and-one-file.lzh", None},  {"mixed-case-name.lzh", None},
      {"damaged-lh5.lzh", Damaged},  {"cut-lh5.lzh", Damaged},        {"cut-two-others.lzh", Damaged},
      {"lh5-level1.lzh", TooLarge, 1253},
      {"two-others.lzh", TooLarge, 1260},  {"two-others.lzh", None, 1261},  // the members' lengths together
  };
  for (const auto& r : rows) {
    const std::string archive = ReadBytes(DataPath(std::string("archive/") + r.file));
    EXPECT_EQ(CheckArchive(archive, r.maxBytes), r.failure) << r.file;
    if (r.failure != None) continue;
    for (std::size_t size = 0; size < archive.size(); ++size) {
      ASSERT_EQ(CheckArchive(archive.substr(0, size), r.maxBytes), Damaged) << r.file << " cut at " << size;
    }
  }
}

}  // namespace
