#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "LoadHelpers.h"
#include "sensyu/Cp932.h"
#include "support/RecordBuilder.h"

namespace {

// A small record whose name and training term tell which line it came from.
std::string Rec(const std::string& no, int yoseiKi = 100, const std::string& name = "") {
  RecordBuilder r;
  r.SensyuNo(no).NameKanji(name.empty() ? "選手" + no : name).YoseiKi(yoseiKi).Nen(2025).Ki(2);
  return r.Bytes();
}

std::string Rec2(const std::string& no, int yoseiKi = 10) {
  RecordBuilder r;
  r.SensyuNo(no).NameKanji("選手" + no).YoseiKi(yoseiKi).Nen(25).Ki(2);
  return r.Bytes(RecordLayout::Old2);
}

// The racer number held in each slot 1..n.
std::vector<std::string> Slots(const cSensyuFile& f) {
  std::vector<std::string> slots;
  for (int16_t k = 1; k <= f.SlotCount(); ++k) slots.push_back(f.SensyuNo(k));
  return slots;
}

// Racers 1000, 2000, 3000 with training terms 101, 102, 103.
std::string Three() { return FanFile({Rec("1000", 101), Rec("2000", 102), Rec("3000", 103)}); }

TEST(FileLoad, FillsTheListWhenItIsEmpty) {
  cLoadedFan fan;
  ASSERT_TRUE(fan.Load(Three()));
  EXPECT_TRUE(fan.window.boxes.empty());
  EXPECT_EQ(fan.list, (cSensyuNoList{"1000", "2000", "3000"}));
  EXPECT_EQ(Slots(fan.file), fan.list);
  EXPECT_EQ(fan.file.NameKanji("2000"), "選手2000        ");
  EXPECT_EQ(fan.file.LastYoseiKi(), 103);
  EXPECT_EQ(fan.file.GetSensyuFileVersion(), "2025年後期");
}

TEST(FileLoad, MatchesRequestedRacersByNumber) {
  const struct {
    cSensyuNoList wanted;
    std::vector<std::string> slots;
  } rows[] = {
      {{"1000", "2000", "3000"}, {"1000", "2000", "3000"}},
      {{"1000", "3000"}, {"1000", "3000"}},
      {{"3000", "1000"}, {"3000", "1000"}},
      {{"1000", "1500", "3000"}, {"1000", "", "3000"}},
      {{"2000", "2000"}, {"2000", "2000"}},
      {{"9999"}, {""}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(::testing::PrintToString(r.wanted));
    cLoadedFan fan;
    ASSERT_TRUE(fan.Load(Three(), r.wanted));
    EXPECT_EQ(Slots(fan.file), r.slots);
    EXPECT_EQ(fan.list, r.wanted);
    const bool has3000 = std::find(r.slots.begin(), r.slots.end(), "3000") != r.slots.end();
    EXPECT_EQ(fan.file.YoseiKi("3000"), has3000 ? 103 : 0);
  }
}

// Period values are those of the last record parsed, in list order.
TEST(FileLoad, PeriodValuesComeFromTheLastSlotParsed) {
  RecordBuilder a, b;
  a.SensyuNo("1000").Nen(2024).Ki(1).YmdStart("20240101");
  b.SensyuNo("3000").Nen(2025).Ki(2).YmdStart("20250101");
  cLoadedFan fan;
  ASSERT_TRUE(fan.Load(FanFile({a.Bytes(), b.Bytes()}), {"3000", "1000"}));
  EXPECT_EQ(fan.file.GetSensyuFileVersion(), "2024年前期");
  EXPECT_EQ(fan.file.YmdStart(), "20240101");
}

TEST(FileLoad, RecordsOutOfOrderAreAllFound) {
  cLoadedFan fan;
  ASSERT_TRUE(fan.Load(FanFile({Rec("3000"), Rec("1000"), Rec("2000")}), {"1000", "2000", "3000"}));
  EXPECT_EQ(Slots(fan.file), (std::vector<std::string>{"1000", "2000", "3000"}));
}

TEST(FileLoad, DuplicateRecordsGiveTheFirst) {
  cLoadedFan fan;
  const std::string file = FanFile({Rec("1000"), Rec("2000", 1, "先"), Rec("2000", 2, "後")});
  ASSERT_TRUE(fan.Load(file, {"2000", "1000", "2000"}));
  EXPECT_EQ(fan.file.NameKanji("2000"), "先              ");
  EXPECT_EQ(fan.file.YoseiKi("2000"), 1);
  EXPECT_EQ(fan.file.SensyuNo(3), "2000");
  EXPECT_EQ(fan.file.LastYoseiKi(), 2);  // the last line, whatever matched
}

TEST(FileLoad, BlankLinesAnywhereAreSkipped) {
  const std::string file = "\r\n   \r\n" + Rec("1000") + "\r\n\r\n    \r\n" + Rec("2000") +
                           "\r\n \r\n" + Rec("3000", 77) + "\r\n\r\n  \r\n";
  cLoadedFan fan;
  ASSERT_TRUE(fan.Load(file));
  EXPECT_EQ(fan.list, (cSensyuNoList{"1000", "2000", "3000"}));
  EXPECT_EQ(Slots(fan.file), fan.list);
  EXPECT_EQ(fan.file.LastYoseiKi(), 77);
}

TEST(FileLoad, EveryLineEndIsALineEnd) {
  for (const char* eol : {"\r\n", "\n", "\r"}) {
    SCOPED_TRACE(::testing::PrintToString(std::string(eol)));
    cLoadedFan fan;
    ASSERT_TRUE(fan.Load(FanFile({Rec("1000"), Rec("2000"), Rec("3000", 55)}, eol)));
    EXPECT_EQ(fan.list, (cSensyuNoList{"1000", "2000", "3000"}));
    EXPECT_EQ(fan.file.YoseiKi("3000"), 55);
  }
  cLoadedFan mixed;
  ASSERT_TRUE(mixed.Load(Rec("1000") + "\n" + Rec("2000") + "\r" + Rec("3000")));
  EXPECT_EQ(mixed.list, (cSensyuNoList{"1000", "2000", "3000"}));
}

// Header and trailer lines lose no record. The trailer is the last line, so
// it gives LastYoseiKi: 0 in the current layout, a failed load in Old2.
TEST(FileLoad, HeaderAndTrailerLines) {
  const std::string header = Utf8ToCp932("選手データ 2025年後期");
  const std::string trailer = Utf8ToCp932("以上");
  cLoadedFan fan;
  ASSERT_TRUE(fan.Load(FanFile({header, Rec("1000"), Rec("2000"), trailer}), {"1000", "2000"}));
  EXPECT_EQ(Slots(fan.file), (std::vector<std::string>{"1000", "2000"}));
  EXPECT_EQ(fan.file.LastYoseiKi(), 0);

  cLoadedFan listed;
  ASSERT_TRUE(listed.Load(FanFile({header, Rec("1000"), trailer})));
  EXPECT_EQ(listed.list, (cSensyuNoList{"選手デー", "1000", "以上"}));
  EXPECT_EQ(listed.file.NameKanji("1000"), "選手1000        ");

  cLoadedFan old2;
  EXPECT_FALSE(old2.Load(FanFile({Rec2("1000"), trailer}), {"1000"}, 2));
  ASSERT_EQ(old2.window.boxes.size(), 1u);
  EXPECT_EQ(old2.window.boxes[0].text, "型が一致しません。\r\n(Error code:13)");
}

TEST(FileLoad, AFileOfBlankLines) {
  for (const std::string& bytes : {std::string(), std::string("\r\n  \r\n\r\n")}) {
    cLoadedFan fan;
    ASSERT_TRUE(fan.Load(bytes));
    EXPECT_TRUE(fan.list.empty());
    EXPECT_EQ(fan.file.SlotCount(), 0);
    EXPECT_EQ(fan.file.SensyuNo(0), "");
    EXPECT_EQ(fan.file.LastYoseiKi(), 0);
    EXPECT_EQ(fan.file.GetSensyuFileVersion(), "0年期");

    cLoadedFan old2;
    EXPECT_FALSE(old2.Load(bytes, {}, 2));
    ASSERT_EQ(old2.window.boxes.size(), 1u);
    EXPECT_EQ(old2.window.boxes[0].text, "型が一致しません。\r\n(Error code:13)");
  }
}

TEST(FileLoad, Old2FilesThroughEitherEntry) {
  const std::string file = FanFile({Rec2("1000", 11), Rec2("2000", 12)});
  cLoadedFan viaRev;
  ASSERT_TRUE(viaRev.Load(file, {}, 1));
  EXPECT_EQ(viaRev.file.YoseiKi("2000"), 12);
  EXPECT_EQ(viaRev.file.GetSensyuFileVersion(), "25年後期");

  cLoadedFan viaOld2;
  viaOld2.list = {"2000"};
  ASSERT_TRUE(
      viaOld2.file.FileLoadOld2(viaOld2.dir.WriteFile("old.txt", file).string(), viaOld2.list));
  EXPECT_EQ(viaOld2.file.YoseiKi("2000"), 12);
  EXPECT_EQ(viaOld2.file.LastYoseiKi(), 12);
}

// A bad record in the middle of an Old2 file fails the load after the
// list was built; the list stays as built.
TEST(FileLoad, Old2FailureKeepsTheListBuiltSoFar) {
  const std::string bad = Rec2("2000").substr(0, 60);
  cLoadedFan fan;
  EXPECT_FALSE(fan.Load(FanFile({Rec2("1000"), bad, Rec2("3000")}), {}, 2));
  EXPECT_EQ(fan.list, (cSensyuNoList{"1000", "2000", "3000"}));
  EXPECT_EQ(fan.file.SlotCount(), 1);
  EXPECT_EQ(fan.file.NameKanji("1000"), "");
  EXPECT_EQ(fan.file.LastYoseiKi(), 10);  // set by the last line before the failure
}

TEST(FileLoad, MissingFileChangesNothing) {
  cLoadedFan fan;
  ASSERT_TRUE(fan.Load(Three()));
  const std::filesystem::path missing = fan.dir.Path() / "無い.txt";
  for (const std::filesystem::path& path : {missing, fan.dir.Path()}) {
    SCOPED_TRACE(path.string());
    fan.window.boxes.clear();
    cSensyuNoList list = {"7777"};
    EXPECT_FALSE(fan.file.FileLoad(path.string(), list));
    ASSERT_EQ(fan.window.boxes.size(), 1u);
    const cFakeWindow::Box& box = fan.window.boxes[0];
    EXPECT_EQ(box.text, "ファイルが見つかりません。\r\n" + path.string());
    EXPECT_EQ(box.caption, kLoadErrorCaption);
    EXPECT_EQ(box.icon, MsgIcon::Exclamation);
    EXPECT_EQ(box.buttons, MsgButtons::OK);
    EXPECT_EQ(list, cSensyuNoList{"7777"});
    EXPECT_EQ(fan.file.SlotCount(), 3);
    EXPECT_EQ(fan.file.YoseiKi("2000"), 102);
  }
}

TEST(FileLoad, ReadsAFileWithAJapaneseName) {
  cLoadedFan fan;
  ASSERT_TRUE(fan.Load(Three(), {}, 0, "ファン手帳２５１０.txt"));
  EXPECT_EQ(fan.file.SlotCount(), 3);
}

// After a failure the object holds one empty slot; LastYoseiKi keeps the
// value of the last reading of a last line.
TEST(FileLoad, FailedLoadAfterASuccessfulOneLeavesOneEmptySlot) {
  cLoadedFan fan;
  ASSERT_TRUE(fan.Load(Three()));
  cSensyuNoList list;
  const auto path = fan.dir.WriteFile("short.txt", Rec2("1000").substr(0, 48));
  EXPECT_FALSE(fan.file.FileLoadOld2(path.string(), list));
  EXPECT_EQ(fan.file.SlotCount(), 1);
  EXPECT_EQ(fan.file.SensyuNo(1), "");
  EXPECT_EQ(fan.file.NameKanji("1000"), "");
  EXPECT_EQ(fan.file.SyussoTimes("2000"), 0);
  EXPECT_EQ(fan.file.GetSensyuFileVersion(), "0年期");
  EXPECT_EQ(fan.file.YmdEnd(), "");
  EXPECT_EQ(fan.file.LastYoseiKi(), 103);
}

// Four distinct characters for line k, so every line has its own racer number.
std::string Key(int k) {
  const char* digits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::string key(4, '0');
  for (int i = 3; i >= 0; --i, k /= 36) key[static_cast<std::size_t>(i)] = digits[k % 36];
  return key;
}

std::string ManyRecords(int count) {
  RecordBuilder r;
  r.YoseiKi(120);
  const std::string record = r.Bytes() + "\r\n";
  std::string file;
  file.reserve(record.size() * static_cast<std::size_t>(count));
  for (int k = 1; k <= count; ++k) {
    file += Key(k);
    file.append(record, 4);
  }
  return file;
}

// A long file is parsed in stretches of slots side by side; the period is
// still that of the last record to reach each field, across stretches.
TEST(FileLoad, PeriodOfALongFileComesFieldByFieldFromTheLastRecordReachingIt) {
  constexpr int kRecords = 9000;
  RecordBuilder plain, early, secondLast, last;
  plain.YoseiKi(120).Nen(2020).Ki(1).YmdStart("20200101");
  early.YoseiKi(121).Nen(2030).Ki(2).YmdStart("20300101");
  secondLast.YoseiKi(122).Nen(2024).Ki(2).YmdStart("20251101");
  last.YoseiKi(123).Nen(2025).Set(RecordBuilder::Field::Ki, "X");  // stops after the year: no term either
  std::string file;
  for (int k = 1; k <= kRecords; ++k) {
    const RecordBuilder& r = k == 3000 ? early : k == kRecords - 1 ? secondLast : k == kRecords ? last : plain;
    file += Key(k) + r.Bytes().substr(4) + "\r\n";
  }
  cLoadedFan fan;
  ASSERT_TRUE(fan.Load(file));
  EXPECT_EQ(fan.file.Nen(), 2025);
  EXPECT_EQ(fan.file.Ki(), 2);
  EXPECT_EQ(fan.file.YmdStart(), "20251101");
  for (int k : {1, 2999, 3000, 4501, kRecords - 1, kRecords}) {
    EXPECT_EQ(fan.file.YoseiKi(Key(k)), k == 3000 ? 121 : k == kRecords - 1 ? 122 : k == kRecords ? 0 : 120) << k;
  }
}

// Slot numbers are 16-bit: 32,766 lines load, one more overflows (error 6).
TEST(FileLoad, CountsAtTheSixteenBitLimit) {
  cLoadedFan fan;
  ASSERT_TRUE(fan.Load(ManyRecords(32766)));
  EXPECT_EQ(fan.file.SlotCount(), 32766);
  EXPECT_EQ(fan.file.SensyuNo(32766), Key(32766));
  EXPECT_EQ(fan.file.YoseiKi(Key(32766)), 120);
  EXPECT_EQ(fan.file.YoseiKi(Key(1)), 120);

  ASSERT_TRUE(fan.Load(Three()));  // LastYoseiKi 103
  EXPECT_FALSE(fan.Load(ManyRecords(32767)));
  ASSERT_EQ(fan.window.boxes.size(), 1u);
  EXPECT_EQ(fan.window.boxes[0].text, "オーバーフローしました。\r\n(Error code:6)");
  EXPECT_EQ(fan.window.boxes[0].caption, kLoadErrorCaption);
  EXPECT_EQ(fan.file.SlotCount(), 1);
  EXPECT_EQ(fan.file.LastYoseiKi(), 103);

  fan.window.boxes.clear();
  cSensyuNoList tooMany(32767, "1000");
  EXPECT_FALSE(fan.Load(Three(), tooMany));
  ASSERT_EQ(fan.window.boxes.size(), 1u);
  EXPECT_EQ(fan.window.boxes[0].text, "オーバーフローしました。\r\n(Error code:6)");
}

}  // namespace
