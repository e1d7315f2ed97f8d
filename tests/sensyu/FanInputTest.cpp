#include <gtest/gtest.h>

#include "sensyu/Cp932.h"
#include "sensyu/FanInput.h"
#include "support/TempDir.h"
#include "support/TestData.h"

namespace {

// What a run refuses before it touches the disk, and the size limit to the byte.
TEST(ReadFanInput, RefusesWhatIsNoFanFile) {
  using enum eFanInputFailure;
  const std::string fan = ReadBytes(DataPath("six_racers.txt"));
  const std::string record = fan.substr(0, fan.find('\n') + 1);
  const std::string limit = record + std::string(kMaxFanFileBytes - record.size(), ' ');
  const struct {
    const char* name;
    std::string bytes;
    eFanInputFailure failure;
  } rows[] = {
      {"fan file", fan, None},
      {"exactly the limit", limit, None},
      {"a byte over", limit + " ", TooLarge},
      {"records cut short", "4001" + std::string(398, 'x') + "\r\n" + record.substr(0, 402), NoRacerRecord},
      {"the shortest record", "4001" + std::string(399, 'x'), None},
      {"letters, not a racer number", "x" + record.substr(1), NoRacerRecord},
      {"archive", ReadBytes(DataPath("archive/lh7-level1.lzh")), None},
      {"archive without a fan file", ReadBytes(DataPath("archive/two-others.lzh")), NoFanMember},
      {"damaged archive", ReadBytes(DataPath("archive/damaged-lh5.lzh")), DamagedArchive},
  };
  cTempDir tmp;
  for (const auto& row : rows) {
    const cFanInput input = ReadFanInput(tmp.WriteFile("fan.txt", row.bytes));
    EXPECT_EQ(input.failure, row.failure) << row.name;
    EXPECT_EQ(input.bytes.size(), row.failure != None ? 0 : row.name[0] == 'a' ? 1254 : row.bytes.size()) << row.name;
  }
  const cFanInput folder = ReadFanInput(tmp.Path());
  EXPECT_EQ(folder.failure, Unreadable);
  EXPECT_TRUE(folder.errorNumber != 0 && !folder.reason.empty());  // the system's own number and words
}

// A copy an editor saved as UTF-8, with or without a byte-order mark, reads as the original.
TEST(ReadFanInput, ReadsAUtf8CopyAsTheOriginal) {
  using enum eFanInputFailure;
  const std::string fan = ReadBytes(DataPath("seven_racers.txt")), utf8 = Cp932ToUtf8(fan), bom = "\xEF\xBB\xBF";
  const std::string ascii = "4001" + std::string(399, 'x') + "\x1A\x7F";  // controls ICU's table would swap
  const std::string kana = ascii + "\xC2\xB1\x90\xC2";  // ﾂｱ reads as UTF-8 ±, the kanji 青 does not
  const struct {
    const char* name;
    std::string bytes;
    eFanInputFailure failure;
    std::string read;
  } rows[] = {
      {"code page 932 after a byte-order mark", bom + fan, None, fan},
      {"the only racer after a byte-order mark", bom + ascii, None, ascii},
      {"UTF-8", utf8, None, fan},
      {"UTF-8 after a byte-order mark", bom + utf8, None, fan},
      {"WAVE DASH for the tilde", ascii + "\xE3\x80\x9C", None, ascii + "\x81\x60"},
      {"ASCII", ascii, None, ascii},
      {"kana that look like UTF-8, then a kanji", kana, None, kana},
      {"UTF-8 with an é", utf8 + "\xC3\xA9", BeyondCp932, ""},
      {"UTF-8 with an emoji, and no racer", "4001 \xF0\x9F\x98\x80", NoRacerRecord, ""},
  };
  cTempDir tmp;
  for (const auto& row : rows) {
    const cFanInput input = ReadFanInput(tmp.WriteFile("fan.txt", row.bytes));
    EXPECT_EQ(input.failure, row.failure) << row.name;
    EXPECT_TRUE(input.bytes == row.read) << row.name;
  }
}

}  // namespace
