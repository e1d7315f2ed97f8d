#include <gtest/gtest.h>

#include "LoadHelpers.h"
#include "support/RecordBuilder.h"

namespace {

// Every field set to a value no neighbouring field holds, so a field cut one
// byte off reads back wrong. The names carry 0x5C trail bytes (表 能 圭 ソ).
RecordBuilder FullRecord(RecordLayout layout) {
  const bool old2 = layout == RecordLayout::Old2;
  RecordBuilder r;
  r.SensyuNo("4321").NameKanji("表能 圭ソ").NameKana("ﾋｮｳﾉｳ ｹｲｿ").Branch("群馬").Class("A1");
  r.Birth("S571119").Sex(2).Age(43).Height(162).Weight(52).Blood("AB");
  r.Syoritu("0534").FSyoritu("0605").OneFinishTimes(21).TwoFinishTimes(18).SyussoTimes(120);
  r.YusyutuTimes(4).YusyoTimes(1).StartTiming(" 15");
  r.ClassOld1("A2").ClassOld2("B1").ClassOld3("B2").abilityOld(5450).Ability(5550);
  r.Nen(old2 ? "25" : "2025").Ki(2).YmdStart(old2 ? "241101" : "20241101");
  r.YmdEnd(old2 ? "250430" : "20250430").YoseiKi(old2 ? 87 : 123);
  r.OutsideCourseL0Times(1).OutsideCourseL1Times(2).OutsideCourseK0Times(3).OutsideCourseK1Times(4);
  for (int c = 1; c <= 6; ++c) {
    r.CourseSyussoTimes(c, 10 + c).CourseFSyoritu(c, 100 * c + 5);
    r.CourseStartTiming(c, 25 * c).CourseStartHatujyun(c, 100 * c + 50);
    r.Course1FinishTimes(c, 10 + c).Course2FinishTimes(c, 20 + c).Course3FinishTimes(c, 30 + c);
    r.Course4FinishTimes(c, 40 + c).Course5FinishTimes(c, 50 + c).Course6FinishTimes(c, 60 + c);
    r.CourseF0Times(c, c).CourseL0Times(c, 10 + c).CourseL1Times(c, 20 + c);
    r.CourseK0Times(c, 30 + c).CourseK1Times(c, 40 + c).CourseS0Times(c, 50 + c);
    r.CourseS1Times(c, 60 + c).CourseS2Times(c, 70 + c);
  }
  return r;
}

class RecordLayoutTest : public ::testing::TestWithParam<RecordLayout> {
 protected:
  bool old2() const { return GetParam() == RecordLayout::Old2; }
  bool LoadLine(const std::string& line) {
    return fan.Load(line + "\r\n", {"4321"}, old2() ? 2 : 0);
  }
  cLoadedFan fan;
};

// The builder places fields by absolute offset; the loader cuts them one
// after another. Spot-check the builder against the byte layout first.
TEST_P(RecordLayoutTest, BuilderPutsFieldsAtTheirOffsets) {
  const std::string line = FullRecord(GetParam()).Bytes(GetParam());
  ASSERT_EQ(line.size(), old2() ? 403u : 410u);
  EXPECT_EQ(line.substr(0, 4), "4321");
  EXPECT_EQ(line.substr(4, 3), "\x95\x5C\x94");  // 表, then the lead byte of 能
  EXPECT_EQ(line.substr(39, 2), "A1");
  EXPECT_EQ(line.substr(58, 8), "05340605");                 // Syoritu, FSyoritu
  EXPECT_EQ(line.substr(82 + 13 * 5, 13), " 16 605150650");  // course 6 of block A
  EXPECT_EQ(line.substr(166, 8), "54505550");                // abilityOld, Ability
  if (old2()) {
    EXPECT_EQ(line.substr(174, 17), "25224110125043087");  // Nen Ki YmdStart YmdEnd YoseiKi
    EXPECT_EQ(line.substr(191 + 34 * 5, 3), " 16");
    EXPECT_EQ(line.substr(395, 8), " 1 2 3 4");
  } else {
    EXPECT_EQ(line.substr(174, 24), "202522024110120250430123");  // Nen Ki YmdStart YmdEnd YoseiKi
    EXPECT_EQ(line.substr(198 + 34 * 5, 3), " 16");
    EXPECT_EQ(line.substr(402, 8), " 1 2 3 4");
  }
}

TEST_P(RecordLayoutTest, EveryFieldReadsBackFromItsOffset) {
  ASSERT_TRUE(LoadLine(FullRecord(GetParam()).Bytes(GetParam())));
  ASSERT_TRUE(fan.window.boxes.empty());
  const cSensyuFile& f = fan.file;
  const std::string no = "4321";
  EXPECT_EQ(f.SensyuNo(1), "4321");
  EXPECT_EQ(f.NameKanji(no), "表能 圭ソ       ");  // untrimmed: 9 bytes of name, 7 blanks
  EXPECT_EQ(f.NameKana(no), "ﾋｮｳﾉｳ ｹｲｿ      ");
  EXPECT_EQ(f.Branch(no), "群馬");
  EXPECT_EQ(f.Birthplace(no), "群馬");
  EXPECT_EQ(f.Class(no), "A1");
  EXPECT_EQ(f.Birth(no), "S571119");
  EXPECT_EQ(f.Sex(no), 2);
  EXPECT_EQ(f.Age(no), 43);
  EXPECT_EQ(f.Height(no), 162);
  EXPECT_EQ(f.Weight(no), 52);
  EXPECT_EQ(f.Blood(no), "AB");
  EXPECT_EQ(f.Syoritu(no), 5.34f);
  EXPECT_EQ(f.FSyoritu(no), 60.5f);
  EXPECT_EQ(f.OneFinishTimes(no), 21);
  EXPECT_EQ(f.TwoFinishTimes(no), 18);
  EXPECT_EQ(f.SyussoTimes(no), 120);
  EXPECT_EQ(f.YusyutuTimes(no), 4);
  EXPECT_EQ(f.YusyoTimes(no), 1);
  EXPECT_EQ(f.StartTiming(no), 0.15f);
  EXPECT_EQ(f.ClassOld1(no), "A2");
  EXPECT_EQ(f.ClassOld2(no), "B1");
  EXPECT_EQ(f.ClassOld3(no), "B2");
  EXPECT_EQ(f.abilityOld(no), 54);
  EXPECT_EQ(f.Ability(no), 56);
  EXPECT_EQ(f.Nen(), old2() ? 25 : 2025);
  EXPECT_EQ(f.Ki(), 2);
  EXPECT_EQ(f.YmdStart(), old2() ? "241101" : "20241101");
  EXPECT_EQ(f.YmdEnd(), old2() ? "250430" : "20250430");
  EXPECT_EQ(f.YoseiKi(no), old2() ? 87 : 123);
  EXPECT_EQ(f.LastYoseiKi(), old2() ? 87 : 123);
  EXPECT_EQ(f.OutsideCourseL0Times(no), 1);
  EXPECT_EQ(f.OutsideCourseL1Times(no), 2);
  EXPECT_EQ(f.OutsideCourseK0Times(no), 3);
  EXPECT_EQ(f.OutsideCourseK1Times(no), 4);
  for (int16_t c = 1; c <= 6; ++c) {
    SCOPED_TRACE(c);
    EXPECT_EQ(f.CourseSyussoTimes(no, c), 10 + c);
    EXPECT_EQ(f.CourseFSyoritu(no, c), 10.0f * c + 0.5f);
    EXPECT_EQ(f.CourseStartTiming(no, c), 0.25f * c);
    EXPECT_EQ(f.CourseStartHatujyun(no, c), c + 0.5f);
    EXPECT_EQ(f.Course1FinishTimes(no, c), 10 + c);
    EXPECT_EQ(f.Course2FinishTimes(no, c), 20 + c);
    EXPECT_EQ(f.Course3FinishTimes(no, c), 30 + c);
    EXPECT_EQ(f.Course4FinishTimes(no, c), 40 + c);
    EXPECT_EQ(f.Course5FinishTimes(no, c), 50 + c);
    EXPECT_EQ(f.Course6FinishTimes(no, c), 60 + c);
    EXPECT_EQ(f.CourseF0Times(no, c), c);
    EXPECT_EQ(f.CourseL0Times(no, c), 10 + c);
    EXPECT_EQ(f.CourseL1Times(no, c), 20 + c);
    EXPECT_EQ(f.CourseK0Times(no, c), 30 + c);
    EXPECT_EQ(f.CourseK1Times(no, c), 40 + c);
    EXPECT_EQ(f.CourseS0Times(no, c), 50 + c);
    EXPECT_EQ(f.CourseS1Times(no, c), 60 + c);
    EXPECT_EQ(f.CourseS2Times(no, c), 70 + c);
  }
}

// Bytes past the record (past the birthplace in the current layout) are ignored.
TEST_P(RecordLayoutTest, BytesAfterTheRecordChangeNothing) {
  RecordBuilder r = FullRecord(GetParam());
  if (!old2()) r.Birthplace("静　岡");
  ASSERT_TRUE(LoadLine(r.Bytes(GetParam()) + "999999 extra"));
  EXPECT_EQ(fan.file.OutsideCourseK1Times("4321"), 4);
  EXPECT_EQ(fan.file.Birthplace("4321"), old2() ? "群馬" : "静　岡");
}

// A line that ends after Birth: the text fields before the end are stored.
// The current layout stops quietly at Sex; the Old2 layout fails the load.
TEST_P(RecordLayoutTest, LineEndingAfterBirth) {
  const std::string line = FullRecord(GetParam()).Bytes(GetParam()).substr(0, 48);
  if (old2()) {
    EXPECT_FALSE(LoadLine(line));
    ASSERT_EQ(fan.window.boxes.size(), 1u);
    EXPECT_EQ(fan.window.boxes[0].text, "型が一致しません。\r\n(Error code:13)");
    EXPECT_EQ(fan.window.boxes[0].caption, kLoadErrorCaption);
    EXPECT_EQ(fan.window.boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(fan.window.boxes[0].buttons, MsgButtons::OK);
    EXPECT_EQ(fan.file.SlotCount(), 1);
    EXPECT_EQ(fan.file.NameKanji("4321"), "");
    return;
  }
  ASSERT_TRUE(LoadLine(line));
  EXPECT_TRUE(fan.window.boxes.empty());
  const cSensyuFile& f = fan.file;
  EXPECT_EQ(f.NameKana("4321"), "ﾋｮｳﾉｳ ｹｲｿ      ");
  EXPECT_EQ(f.Branch("4321"), "群馬");
  EXPECT_EQ(f.Class("4321"), "A1");
  EXPECT_EQ(f.Birth("4321"), "S571119");
  EXPECT_EQ(f.Sex("4321"), 0);
  EXPECT_EQ(f.Blood("4321"), "");
  EXPECT_EQ(f.ClassOld1("4321"), "");
  EXPECT_EQ(f.CourseSyussoTimes("4321", 1), 0);
  EXPECT_EQ(f.Nen(), 0);
  EXPECT_EQ(f.YmdStart(), "");
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, RecordLayoutTest,
                         ::testing::Values(RecordLayout::Current, RecordLayout::Old2),
                         [](const auto& param) {
                           return param.param == RecordLayout::Old2 ? "Old2" : "Current";
                         });

TEST(RecordLayout, BirthplaceComesFromTheTailOfLongRecords) {
  const struct {
    const char* what;
    std::string line;
    int16_t intRev;
    const char* birthplace;
  } rows[] = {
      {"416 bytes", FullRecord(RecordLayout::Current).Birthplace("静　岡").Bytes(), 0, "静　岡"},
      {"full width", FullRecord(RecordLayout::Current).Birthplace("神奈川").Bytes(), 0, "神奈川"},
      {"410 bytes", FullRecord(RecordLayout::Current).Bytes(), 0, "群馬"},
      {"blank tail", FullRecord(RecordLayout::Current).Bytes() + "      ", 0, "群馬"},
      {"ideographic blanks", FullRecord(RecordLayout::Current).Birthplace("　　　").Bytes(), 0,
       "群馬"},
      {"cut short", FullRecord(RecordLayout::Current).Bytes() + "\x90\xC3 ", 0, "群馬"},
      {"Old2 has none",
       FullRecord(RecordLayout::Old2).Bytes(RecordLayout::Old2) + "1234567\x90\xC3    ", 2, "群馬"},
      {"earlier failure",
       FullRecord(RecordLayout::Current).SyussoTimes("ab").Birthplace("静岡").Bytes(), 0, "群馬"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    cLoadedFan fan;
    ASSERT_TRUE(fan.Load(r.line, {"4321"}, r.intRev));
    EXPECT_EQ(fan.file.Birthplace("4321"), r.birthplace);
    EXPECT_EQ(fan.file.Branch("4321"), "群馬");
  }
}

TEST(RecordLayout, CurrentLayoutKeepsFieldsBeforeTheFirstBadNumber) {
  cLoadedFan fan;
  ASSERT_TRUE(fan.Load(FullRecord(RecordLayout::Current).Height("1x2").Bytes()));
  EXPECT_TRUE(fan.window.boxes.empty());
  EXPECT_EQ(fan.file.Age("4321"), 43);
  EXPECT_EQ(fan.file.Height("4321"), 0);
  EXPECT_EQ(fan.file.Weight("4321"), 0);
  EXPECT_EQ(fan.file.Blood("4321"), "");  // a text field after the failure is not reached
}

// A record that fails at Ki has already set Nen; the fields from Ki on keep
// what the record parsed before left there.
TEST(RecordLayout, PeriodFieldsAreStoredAsTheyAreReached) {
  RecordBuilder first = FullRecord(RecordLayout::Current);
  first.SensyuNo("1000").Nen(2024).Ki(1).YmdStart("20240501").YmdEnd("20241031");
  RecordBuilder second = FullRecord(RecordLayout::Current);
  second.SensyuNo("2000").Nen(2025).Ki("x").YoseiKi(130);
  cLoadedFan fan;
  ASSERT_TRUE(fan.Load(FanFile({first.Bytes(), second.Bytes()}), {"1000", "2000"}));
  EXPECT_EQ(fan.file.Nen(), 2025);
  EXPECT_EQ(fan.file.Ki(), 1);
  EXPECT_EQ(fan.file.YmdStart(), "20240501");
  EXPECT_EQ(fan.file.YmdEnd(), "20241031");
  EXPECT_EQ(fan.file.Ability("2000"), 56);
  EXPECT_EQ(fan.file.YoseiKi("2000"), 0);
}

// A two-byte character cut by a field boundary spoils only the two fields it
// touches; the fields after them are cut at their own byte offsets.
TEST(RecordLayout, CharacterSplitByAFieldBoundaryLeavesLaterFieldsInPlace) {
  std::string line = FullRecord(RecordLayout::Current).Bytes();
  line.replace(19, 2, "\x95\x5C");  // 表 across NameKanji | NameKana
  cLoadedFan fan;
  ASSERT_TRUE(fan.Load(line));
  EXPECT_EQ(fan.file.NameKanji("4321"), "表能 圭ソ      〓");
  EXPECT_EQ(fan.file.NameKana("4321"), "\\ｮｳﾉｳ ｹｲｿ      ");
  EXPECT_EQ(fan.file.Branch("4321"), "群馬");
  EXPECT_EQ(fan.file.SyussoTimes("4321"), 120);
}

}  // namespace
