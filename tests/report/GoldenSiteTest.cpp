// Whole sites converted from tiny fan files, compared byte for byte with the
// expected trees under tests/golden/. Each fixture below is the file itself,
// written record by record, so what a page should show can be read here.
#include <gtest/gtest.h>

#include <functional>

#include "report/ConvertFanFile.h"
#include "support/FakeWindow.h"
#include "support/GoldenTree.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"

namespace {

// A racer of the 2025 second half with plain figures; fixtures override what they show.
RecordBuilder Racer(const std::string& no, const std::string& kanji, const std::string& kana,
                    const std::string& cls, int term) {
  RecordBuilder r;
  r.SensyuNo(no).NameKanji(kanji).NameKana(kana).Branch("東京").Class(cls).Birth("H050412");
  r.Sex(1).Age(32).Height(165).Weight(52).Blood("A").Syoritu("0534").FSyoritu("0312");
  r.ClassOld1("B1").ClassOld2("B1").ClassOld3("A2").abilityOld("5010").Ability("5250");
  r.Nen(2025).Ki(2).YmdStart("20250501").YmdEnd("20251031").YoseiKi(term);
  return r;
}

// Every figure of one racer set, so each page cell shows where it came from.
RecordBuilder FullRacer() {
  RecordBuilder r = Racer("4321", "山田　太郎", "ﾔﾏﾀﾞ ﾀﾛｳ", "A1", 95);
  r.Birthplace("静　岡").Birth("S571119").Sex(2).Age(43).Height(170).Weight(47).Blood("AB");
  r.Syoritu("0650").FSyoritu("0605").OneFinishTimes(15).TwoFinishTimes(9).SyussoTimes(120);
  r.YusyutuTimes(4).YusyoTimes(1).StartTiming("015").ClassOld1("A1").ClassOld2("A2").ClassOld3("B1");
  r.abilityOld("5450").Ability("5250");
  // Course 1: 40 starts, 14/8/6 → 70.00; course 2: 3 starts, one second → 33.33.
  r.CourseSyussoTimes(1, 40).CourseFSyoritu(1, "0550").CourseStartTiming(1, "012").CourseStartHatujyun(1, "350");
  r.Course1FinishTimes(1, 14).Course2FinishTimes(1, 8).Course3FinishTimes(1, 6).Course4FinishTimes(1, 5);
  r.Course5FinishTimes(1, 4).Course6FinishTimes(1, 1).CourseF0Times(1, 1).CourseL0Times(1, 1);
  r.CourseK0Times(1, 1);
  r.CourseSyussoTimes(2, 3).Course2FinishTimes(2, 1).Course6FinishTimes(2, 2).CourseFSyoritu(2, "0333");
  r.CourseStartTiming(2, "125").CourseStartHatujyun(2, "225");
  r.CourseSyussoTimes(6, 77).Course1FinishTimes(6, 1).Course3FinishTimes(6, 2).Course6FinishTimes(6, 70);
  r.CourseL1Times(6, 2).CourseS1Times(6, 2).CourseStartHatujyun(6, "-05");
  r.OutsideCourseL0Times(1).OutsideCourseL1Times(2);
  return r;
}

struct Fixture {
  const char* name;
  std::function<std::string()> file;
};

const Fixture kFixtures[] = {
    // Seven racers: a row of six and a row of one; the first racer's term 0
    // starts white without a label, term 0 after 96 opens a group "(0期)";
    // folders 0000, 3000, 4000 and 5000; one A1; voiced marks in readings;
    // a reading of blanks only stands before every index heading.
    {"seven_racers",
     [] {
       return FanFile({
           Racer("0123", "青木　一郎", "ｱｵｷ ｲﾁﾛｳ", "B1", 0).Bytes(),
           Racer("3999", "加賀　次郎", "ｶｶﾞ ｼﾞﾛｳ", "B2", 0).Bytes(),
           FullRacer().Bytes(),
           Racer("4400", "片山　三郎", "ｶﾀﾔﾏ ｻﾌﾞﾛｳ", "A2", 95).Birthplace("神奈川").Bytes(),
           Racer("4999", "能登　圭介", "ﾉﾄ ｹｲｽｹ", "A1", 96).Bytes(),
           Racer("5000", "名無　権兵衛", "", "B1", 0).Bytes(),
           Racer("5001", "浜田　博", "ﾊﾏﾀﾞ ﾋﾛｼ", "B1", 0).Bytes(),
       });
     }},
    // Exactly six racers, all under one index heading: one full row each.
    {"six_racers",
     [] {
       return FanFile({
           Racer("4001", "鈴木　一", "ｽｽﾞｷ ﾊｼﾞﾒ", "A1", 100).Bytes(),
           Racer("4002", "鈴木　二", "ｽｽﾞｷ ｼﾞﾛｳ", "A1", 100).Bytes(),
           Racer("4003", "須田　三", "ｽﾀﾞ ｻﾌﾞﾛｳ", "B1", 100).Bytes(),
           Racer("4004", "杉本　四", "ｽｷﾞﾓﾄ ｼﾛｳ", "B1", 101).Bytes(),
           Racer("4005", "須藤　五", "ｽﾄﾞｳ ｺﾞﾛｳ", "B2", 101).Bytes(),
           Racer("4006", "菅野　六", "ｽｶﾞﾉ ﾛｸﾛｳ", "A2", 102).Bytes(),
       });
     }},
    // What a damaged or hand-edited file holds: a header line, blank lines,
    // LF line ends, a record cut after the birth date field, a record whose
    // age is not a number (later fields stay 0), a record cut inside the
    // birth date, a racer listed twice, markup in names, a trailer line.
    {"malformed",
     [] {
       std::string cut = Racer("2001", "短縮　記録", "ﾀﾝｼｭｸ", "B1", 70).Bytes().substr(0, 48);
       std::string shortBirth = Racer("2003", "生年　不明", "ｾｲﾈﾝ", "B2", 70).Bytes().substr(0, 44);
       return FanFile({"FAN HANDBOOK 2025-2", "", cut, "   ",
                       Racer("2002", "年齢　不詳", "ﾈﾝﾚｲ", "B1", 70).Age("ab").Bytes(), shortBirth,
                       Racer("2004", "<script>", "ｱ&ｲ<ﾞ>", "A1", 71).Blood("<b").Bytes(),
                       Racer("2004", "<script>", "ｱ&ｲ<ﾞ>", "A1", 71).Blood("<b").Bytes(), "END OF DATA"},
                      "\n");
     }},
    // An empty file: a caption of 0 racers and an index without entries.
    {"empty", [] { return std::string(); }},
};

void PrintTo(const Fixture& fx, std::ostream* os) { *os << fx.name; }

class GoldenSite : public ::testing::TestWithParam<Fixture> {};

TEST_P(GoldenSite, WholeTreeMatchesExpected) {
  const Fixture& fx = GetParam();
  cTempDir tmp;
  const auto input = tmp.WriteFile(std::string(fx.name) + ".txt", fx.file());
  const auto site = tmp.Path() / "ファン手帳";
  cFakeWindow window;
  cNameList lstName;
  std::shared_ptr<cSensyuFile> sensyu;
  ASSERT_TRUE(ConvertFanFile(input.string(), site, window, lstName, sensyu));
  EXPECT_TRUE(window.boxes.empty());
  EXPECT_TRUE(TreesEqual(std::filesystem::path(TEST_GOLDEN_DIR) / fx.name, site));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, GoldenSite, ::testing::ValuesIn(kFixtures),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
