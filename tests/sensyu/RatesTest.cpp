#include <gtest/gtest.h>

#include "LoadHelpers.h"
#include "support/RecordBuilder.h"

namespace {

// Placings per course 1..6: {starts, 1st, 2nd, 3rd}.
struct CourseRow {
  int starts, first, second, third;
};

RecordBuilder Racer(int starts, const CourseRow (&courses)[6]) {
  RecordBuilder r;
  r.SensyuNo("4321").SyussoTimes(starts);
  for (int c = 1; c <= 6; ++c) {
    const CourseRow& row = courses[c - 1];
    r.CourseSyussoTimes(c, row.starts).Course1FinishTimes(c, row.first);
    r.Course2FinishTimes(c, row.second).Course3FinishTimes(c, row.third);
  }
  return r;
}

class RatesTest : public ::testing::Test {
 protected:
  const cSensyuFile& Load(const RecordBuilder& r) {
    EXPECT_TRUE(fan.Load(r.Bytes()));
    return fan.file;
  }
  cLoadedFan fan;
};

// 120 starts with 20 first, 18 second and 15 third places in all.
TEST_F(RatesTest, PlacingRatesOfTheWorkedExample) {
  const cSensyuFile& f = Load(Racer(
      120,
      {{40, 10, 5, 3}, {30, 5, 5, 4}, {20, 3, 4, 4}, {15, 2, 2, 2}, {10, 0, 1, 1}, {5, 0, 1, 1}}));
  EXPECT_EQ(f.Rentairitu3("4321"), 44.166668f);
  EXPECT_EQ(f.Rentairitu2("4321"), 31.666666f);
  EXPECT_EQ(f.Rentairitu1("4321"), 16.666666f);
  EXPECT_EQ(f.Nyuchakuritu("4321", 1), f.Rentairitu1("4321"));
  EXPECT_EQ(f.Nyuchakuritu("4321", 3), 12.5f);
  EXPECT_EQ(f.InSisu("4321"), 75.0f);  // (240 + 150 + 80 + 45 + 20 + 5) / 720
}

TEST_F(RatesTest, InSisuLeansTowardCourseOne) {
  const struct {
    CourseRow courses[6];
    float inSisu;
  } rows[] = {
      {{{30, 0, 0, 0}, {20, 0, 0, 0}, {20, 0, 0, 0}, {15, 0, 0, 0}, {10, 0, 0, 0}, {5, 0, 0, 0}},
       71.666664f},
      {{{100, 0, 0, 0}, {}, {}, {}, {}, {}}, 100.0f},
      {{{}, {}, {}, {}, {}, {100, 0, 0, 0}}, 16.666666f},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.inSisu);
    cLoadedFan one;
    ASSERT_TRUE(one.Load(Racer(100, r.courses).Bytes()));
    EXPECT_EQ(one.file.InSisu("4321"), r.inSisu);
  }
}

// The mean over six courses, started from or not.
TEST_F(RatesTest, StratHatujyunDividesBySixAlways) {
  RecordBuilder r;
  r.SensyuNo("4321").SyussoTimes(0).CourseStartHatujyun(1, 350);
  EXPECT_EQ(Load(r).StratHatujyun("4321"), 0.5833333f);
}

TEST_F(RatesTest, ZeroStartsGiveZeroRatesWhateverTheCoursesHold) {
  RecordBuilder r = Racer(0, {{3, 1, 1, 1}, {3, 1, 1, 1}, {}, {}, {}, {}});
  r.CourseF0Times(1, 1).CourseStartHatujyun(2, 300);
  const cSensyuFile& f = Load(r);
  EXPECT_EQ(f.Rentairitu1("4321"), 0.0f);
  EXPECT_EQ(f.Rentairitu2("4321"), 0.0f);
  EXPECT_EQ(f.Rentairitu3("4321"), 0.0f);
  EXPECT_EQ(f.Nyuchakuritu("4321", 2), 0.0f);
  EXPECT_EQ(f.Nyuchakuritu("4321", 0), 0.0f);
  EXPECT_EQ(f.InSisu("4321"), 0.0f);
  EXPECT_EQ(f.StratHatujyun("4321"), 0.5f);
  EXPECT_EQ(f.FTimes("4321"), 1);
  EXPECT_EQ(f.CourseRentairitu3("4321", 1), 100.0f);
}

// Any place other than 1..6 asks for the results with a code (F, L, K, S),
// counted per course only.
TEST_F(RatesTest, NyuchakurituOfCodedResults) {
  RecordBuilder r;
  r.SensyuNo("4321").SyussoTimes(50).OutsideCourseL0Times(5).OutsideCourseK1Times(5);
  r.CourseF0Times(1, 1).CourseL0Times(1, 1).CourseL1Times(1, 1).CourseK0Times(1, 1);
  r.CourseK1Times(1, 1).CourseS0Times(1, 1).CourseS1Times(1, 1).CourseS2Times(1, 1);
  r.CourseK1Times(4, 2).Course6FinishTimes(2, 7);
  const cSensyuFile& f = Load(r);
  for (int16_t chaku : {0, 7, -1}) EXPECT_EQ(f.Nyuchakuritu("4321", chaku), 20.0f) << chaku;
  EXPECT_EQ(f.Nyuchakuritu("4321", 6), 14.0f);
}

TEST_F(RatesTest, FAndLTotals) {
  RecordBuilder r;
  r.SensyuNo("4321").SyussoTimes(50);
  r.CourseF0Times(1, 1).CourseF0Times(3, 2).CourseF0Times(6, 1);
  r.CourseL0Times(2, 1).CourseL1Times(2, 1).CourseL1Times(5, 3);
  r.OutsideCourseL0Times(2).OutsideCourseL1Times(4).OutsideCourseK0Times(9).OutsideCourseK1Times(9);
  const cSensyuFile& f = Load(r);
  EXPECT_EQ(f.FTimes("4321"), 4);
  EXPECT_EQ(f.LTimes("4321"), 11);
}

// Per course: (1st + 2nd + 3rd) / starts from that course.
TEST_F(RatesTest, CourseRentairitu3) {
  const cSensyuFile& f = Load(Racer(43, {{40, 14, 8, 6}, {3, 0, 1, 0}, {0, 1, 1, 1}, {}, {}, {}}));
  EXPECT_EQ(f.CourseRentairitu3("4321", 1), 70.0f);
  EXPECT_EQ(f.CourseRentairitu3("4321", 2), 33.333332f);
  EXPECT_EQ(f.CourseRentairitu3("4321", 3), 0.0f);
  EXPECT_EQ(f.CourseRentairitu3("4321", 4), 0.0f);
}

}  // namespace
