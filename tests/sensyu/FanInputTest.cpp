#include <gtest/gtest.h>

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
  EXPECT_EQ(folder.errorNumber, EISDIR);
}

}  // namespace
