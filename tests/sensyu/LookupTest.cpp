#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <vector>

#include "LoadHelpers.h"
#include "support/RecordBuilder.h"

namespace {

using CourseProperty = std::function<double(const cSensyuFile&, const std::string&, int16_t)>;

// Every per-course property, as numbers.
std::vector<CourseProperty> CourseProperties() {
  return {
      [](auto& f, auto& no, int16_t c) { return f.CourseSyussoTimes(no, c); },
      [](auto& f, auto& no, int16_t c) { return f.CourseFSyoritu(no, c); },
      [](auto& f, auto& no, int16_t c) { return f.CourseStartTiming(no, c); },
      [](auto& f, auto& no, int16_t c) { return f.CourseStartHatujyun(no, c); },
      [](auto& f, auto& no, int16_t c) { return f.Course1FinishTimes(no, c); },
      [](auto& f, auto& no, int16_t c) { return f.Course2FinishTimes(no, c); },
      [](auto& f, auto& no, int16_t c) { return f.Course3FinishTimes(no, c); },
      [](auto& f, auto& no, int16_t c) { return f.Course4FinishTimes(no, c); },
      [](auto& f, auto& no, int16_t c) { return f.Course5FinishTimes(no, c); },
      [](auto& f, auto& no, int16_t c) { return f.Course6FinishTimes(no, c); },
      [](auto& f, auto& no, int16_t c) { return f.CourseF0Times(no, c); },
      [](auto& f, auto& no, int16_t c) { return f.CourseL0Times(no, c); },
      [](auto& f, auto& no, int16_t c) { return f.CourseL1Times(no, c); },
      [](auto& f, auto& no, int16_t c) { return f.CourseK0Times(no, c); },
      [](auto& f, auto& no, int16_t c) { return f.CourseK1Times(no, c); },
      [](auto& f, auto& no, int16_t c) { return f.CourseS0Times(no, c); },
      [](auto& f, auto& no, int16_t c) { return f.CourseS1Times(no, c); },
      [](auto& f, auto& no, int16_t c) { return f.CourseS2Times(no, c); },
      [](auto& f, auto& no, int16_t c) { return f.CourseRentairitu3(no, c); },
  };
}

// Every keyed property that takes no course, as text; a zero number reads as "".
std::vector<std::string> RacerValues(const cSensyuFile& f, const std::string& no) {
  auto n = [](double v) { return v == 0.0 ? std::string() : std::to_string(v); };
  return {f.NameKanji(no),
          f.NameKana(no),
          f.Birthplace(no),
          f.Branch(no),
          f.Class(no),
          f.ClassOld1(no),
          f.ClassOld2(no),
          f.ClassOld3(no),
          f.Birth(no),
          f.Blood(no),
          n(f.Age(no)),
          n(f.Sex(no)),
          n(f.Height(no)),
          n(f.Weight(no)),
          n(f.Ability(no)),
          n(f.abilityOld(no)),
          n(f.YoseiKi(no)),
          n(f.Syoritu(no)),
          n(f.FSyoritu(no)),
          n(f.StartTiming(no)),
          n(f.SyussoTimes(no)),
          n(f.OneFinishTimes(no)),
          n(f.TwoFinishTimes(no)),
          n(f.YusyutuTimes(no)),
          n(f.YusyoTimes(no)),
          n(f.OutsideCourseL0Times(no)),
          n(f.OutsideCourseL1Times(no)),
          n(f.OutsideCourseK0Times(no)),
          n(f.OutsideCourseK1Times(no)),
          n(f.FTimes(no)),
          n(f.LTimes(no)),
          n(f.Rentairitu1(no)),
          n(f.Rentairitu2(no)),
          n(f.Rentairitu3(no)),
          n(f.Nyuchakuritu(no, 1)),
          n(f.Nyuchakuritu(no, 0)),
          n(f.InSisu(no)),
          n(f.StratHatujyun(no))};
}

// A racer with something non-zero in every field.
std::string Busy(const std::string& no) {
  RecordBuilder r;
  r.SensyuNo(no).NameKanji("山田").NameKana("ﾔﾏﾀﾞ").Branch("東京").Class("A1").Birth("H100402");
  r.Sex(1).Age(27).Height(170).Weight(52).Blood("O").Syoritu(650).FSyoritu(400);
  r.OneFinishTimes(30).TwoFinishTimes(20).SyussoTimes(100).YusyutuTimes(3).YusyoTimes(1);
  r.StartTiming(15).ClassOld1("A2").ClassOld2("A2").ClassOld3("B1").abilityOld(5000);
  r.Ability(5200).YoseiKi(110).Birthplace("東京");
  r.OutsideCourseL0Times(1).OutsideCourseL1Times(1).OutsideCourseK0Times(1).OutsideCourseK1Times(1);
  for (int c = 1; c <= 6; ++c) {
    r.CourseSyussoTimes(c, 16).CourseFSyoritu(c, 300).CourseStartTiming(c, 16);
    r.CourseStartHatujyun(c, 350).Course1FinishTimes(c, 5).Course2FinishTimes(c, 3);
    r.Course3FinishTimes(c, 2).Course4FinishTimes(c, 2).Course5FinishTimes(c, 2);
    r.Course6FinishTimes(c, 1).CourseF0Times(c, 1).CourseL0Times(c, 1).CourseL1Times(c, 1);
    r.CourseK0Times(c, 1).CourseK1Times(c, 1).CourseS0Times(c, 1).CourseS1Times(c, 1);
    r.CourseS2Times(c, 1);
  }
  return r.Bytes();
}

bool AllZero(const std::vector<std::string>& values) {
  return std::all_of(values.begin(), values.end(), [](const std::string& v) { return v.empty(); });
}

bool NoneZero(const std::vector<std::string>& values) {
  return std::none_of(values.begin(), values.end(), [](const std::string& v) { return v.empty(); });
}

TEST(Lookup, NothingIsFoundBeforeTheFirstLoad) {
  cFakeWindow window;
  cSensyuFile f(window);
  EXPECT_TRUE(AllZero(RacerValues(f, "1000")));
  for (const CourseProperty& p : CourseProperties()) EXPECT_EQ(p(f, "1000", 7), 0.0);
  EXPECT_EQ(f.SlotCount(), 0);
  EXPECT_THROW(f.SensyuNo(0), std::out_of_range);
  EXPECT_EQ(f.GetSensyuFileVersion(), "0年期");
  EXPECT_EQ(f.LastYoseiKi(), 0);
}

TEST(Lookup, RacerNotLoadedGivesZeroFromEveryProperty) {
  cLoadedFan fan;
  ASSERT_TRUE(fan.Load(FanFile({Busy("1000"), Busy("2000")})));
  ASSERT_TRUE(NoneZero(RacerValues(fan.file, "2000")));  // the list reads real values
  for (const char* no : {"3000", "", "200", "2000 ", "２０００"}) {
    SCOPED_TRACE(no);
    EXPECT_TRUE(AllZero(RacerValues(fan.file, no)));
    for (const CourseProperty& p : CourseProperties()) {
      EXPECT_EQ(p(fan.file, no, 1), 0.0);
      EXPECT_EQ(p(fan.file, no, 7), 0.0);
    }
  }
}

TEST(Lookup, CourseOutsideOneToSixIsAnErrorForALoadedRacer) {
  cLoadedFan fan;
  ASSERT_TRUE(fan.Load(Busy("1000")));
  for (const CourseProperty& p : CourseProperties()) {
    EXPECT_NE(p(fan.file, "1000", 6), 0.0);
    for (int16_t c : {0, 7, -1}) EXPECT_THROW(p(fan.file, "1000", c), std::out_of_range);
  }
}

TEST(Lookup, SensyuNoBySlot) {
  cLoadedFan fan;
  ASSERT_TRUE(fan.Load(FanFile({Busy("1000"), Busy("2000")})));
  EXPECT_EQ(fan.file.SensyuNo(0), "");
  EXPECT_EQ(fan.file.SensyuNo(2), "2000");
  EXPECT_THROW(fan.file.SensyuNo(3), std::out_of_range);
  EXPECT_THROW(fan.file.SensyuNo(-1), std::out_of_range);
}

// A scan that starts in the middle slot misses racers when slots are empty
// or out of order; every racer is found whatever the slots hold.
TEST(Lookup, FindsEveryLoadedRacerWhateverTheSlotOrder) {
  const std::string file = FanFile({Busy("1000"), Busy("2000"), Busy("3000"), Busy("4000")});
  const std::vector<cSensyuNoList> lists = {
      {"1000", "1500", "3000"},
      {"4000", "3000", "2000", "1000"},
      {"1000", "", "", "", "2000"},
      {"1000"},
  };
  for (const cSensyuNoList& list : lists) {
    SCOPED_TRACE(::testing::PrintToString(list));
    cLoadedFan fan;
    ASSERT_TRUE(fan.Load(file, list));
    for (const std::string& no : list) {
      bool inFile = no == "1000" || no == "2000" || no == "3000" || no == "4000";
      EXPECT_EQ(fan.file.YoseiKi(no), inFile ? 110 : 0) << no;
    }
  }
}

TEST(Lookup, PeriodLabel) {
  const struct {
    const char* nen;
    const char* ki;
    RecordLayout layout;
    const char* label;
  } rows[] = {
      {"2020", "2", RecordLayout::Current, "2020年後期"},
      {"2021", "1", RecordLayout::Current, "2021年前期"},
      {"2021", "0", RecordLayout::Current, "2021年期"},
      {"2021", "3", RecordLayout::Current, "2021年期"},
      {"  20", "2", RecordLayout::Current, "20年後期"},
      {"20", "2", RecordLayout::Old2, "20年後期"},
      {"07", "1", RecordLayout::Old2, "7年前期"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.label);
    RecordBuilder b;
    b.SensyuNo("1000").Nen(r.nen).Ki(r.ki);
    cLoadedFan fan;
    ASSERT_TRUE(fan.Load(b.Bytes(r.layout), {}, r.layout == RecordLayout::Old2 ? 2 : 0));
    EXPECT_EQ(fan.file.GetSensyuFileVersion(), r.label);
  }
}

}  // namespace
