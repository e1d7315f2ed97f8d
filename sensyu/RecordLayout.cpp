#include <array>
#include <span>

#include "sensyu/FieldTable.h"

namespace {

using K = eFieldKind;
using P = ePeriodField;
using S = cSensyuFile;

enum class eBlock { Once, EachCourse };

struct cRow {
  std::string_view name;
  std::string_view label;  // what the user calls the field
  std::size_t width, old2Width;  // old2Width 0: the Old2 layout has no such field
  K kind;
  cFieldStore store;
  eBlock block;
};

}  // namespace

// Friend of cSensyuFile: the table names the members that store each field.
struct cFieldTable {
  // clang-format off
  static constexpr std::array kRows{
    cRow{"SensyuNo", "登録番号", 4, 4, K::Text, {&S::m_SensyuNo, eFieldRule::Plain}, eBlock::Once},
    cRow{"NameKanji", "選手名", 16, 16, K::Text, {&S::m_NameKanji, eFieldRule::Plain}, eBlock::Once},
    cRow{"NameKana", "選手名のカナ", 15, 15, K::Text, {&S::m_NameKana, eFieldRule::Plain}, eBlock::Once},
    cRow{"Branch", "支部", 4, 4, K::Text, {&S::m_Branch, eFieldRule::AlsoBirthplace}, eBlock::Once},
    cRow{"Class", "級別", 2, 2, K::Text, {&S::m_Class, eFieldRule::Plain}, eBlock::Once},
    cRow{"Birth", "生年月日", 7, 7, K::Text, {&S::m_Birth, eFieldRule::Plain}, eBlock::Once},
    cRow{"Sex", "性別", 1, 1, K::Integer, {&S::m_Sex, eFieldRule::Plain}, eBlock::Once},
    cRow{"Age", "年齢", 2, 2, K::Integer, {&S::m_Age, eFieldRule::Plain}, eBlock::Once},
    cRow{"Height", "身長", 3, 3, K::Integer, {&S::m_Height, eFieldRule::Plain}, eBlock::Once},
    cRow{"Weight", "体重", 2, 2, K::Integer, {&S::m_Weight, eFieldRule::Plain}, eBlock::Once},
    cRow{"Blood", "血液型", 2, 2, K::Text, {&S::m_Blood, eFieldRule::Plain}, eBlock::Once},
    cRow{"Syoritu", "勝率", 4, 4, K::Hundredths, {&S::m_Syoritu, eFieldRule::Plain}, eBlock::Once},
    cRow{"FSyoritu", "2連対率", 4, 4, K::Tenths, {&S::m_FSyoritu, eFieldRule::Plain}, eBlock::Once},
    cRow{"OneFinishTimes", "１着回数", 3, 3, K::Integer, {&S::m_OneFinishTimes, eFieldRule::Plain}, eBlock::Once},
    cRow{"TwoFinishTimes", "２着回数", 3, 3, K::Integer, {&S::m_TwoFinishTimes, eFieldRule::Plain}, eBlock::Once},
    cRow{"SyussoTimes", "出走回数", 3, 3, K::Integer, {&S::m_SyussoTimes, eFieldRule::Plain}, eBlock::Once},
    cRow{"YusyutuTimes", "優出回数", 2, 2, K::Integer, {&S::m_YusyutuTimes, eFieldRule::Plain}, eBlock::Once},
    cRow{"YusyoTimes", "優勝回数", 2, 2, K::Integer, {&S::m_YusyoTimes, eFieldRule::Plain}, eBlock::Once},
    cRow{"StartTiming", "スタートタイミング", 3, 3, K::Hundredths, {&S::m_StartTiming, eFieldRule::Plain}, eBlock::Once},
    cRow{"CourseSyussoTimes", "回数", 3, 3, K::Integer, {&S::m_CourseSyussoTimes, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"CourseFSyoritu", "2連対率", 4, 4, K::Tenths, {&S::m_CourseFSyoritu, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"CourseStartTiming", "スタートタイミング", 3, 3, K::Hundredths, {&S::m_CourseStartTiming, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"CourseStartHatujyun", "スタート順", 3, 3, K::Hundredths, {&S::m_CourseStartHatujyun, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"ClassOld1", "前期の級別", 2, 2, K::Text, {&S::m_ClassOld1, eFieldRule::Plain}, eBlock::Once},
    cRow{"ClassOld2", "前々期の級別", 2, 2, K::Text, {&S::m_ClassOld2, eFieldRule::Plain}, eBlock::Once},
    cRow{"ClassOld3", "前々々期の級別", 2, 2, K::Text, {&S::m_ClassOld3, eFieldRule::Plain}, eBlock::Once},
    cRow{"abilityOld", "前期の能力指数", 4, 4, K::Index, {&S::m_abilityOld, eFieldRule::Plain}, eBlock::Once},
    cRow{"Ability", "能力指数", 4, 4, K::Index, {&S::m_Ability, eFieldRule::Plain}, eBlock::Once},
    // The Old2 layout has a two-digit year, six-character dates and a
    // two-digit training term; they are stored as read, never widened.
    cRow{"Nen", "期の年", 4, 2, K::Integer, {P::Nen, eFieldRule::Plain}, eBlock::Once},
    cRow{"Ki", "前期・後期", 1, 1, K::Integer, {P::Ki, eFieldRule::Plain}, eBlock::Once},
    cRow{"YmdStart", "算出期間の初日", 8, 6, K::Text, {P::YmdStart, eFieldRule::Plain}, eBlock::Once},
    cRow{"YmdEnd", "算出期間の末日", 8, 6, K::Text, {P::YmdEnd, eFieldRule::Plain}, eBlock::Once},
    cRow{"YoseiKi", "養成期", 3, 2, K::Integer, {&S::m_YoseiKi, eFieldRule::Plain}, eBlock::Once},
    cRow{"Course1FinishTimes", "１着回数", 3, 3, K::Integer, {&S::m_Course1FinishTimes, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"Course2FinishTimes", "２着回数", 3, 3, K::Integer, {&S::m_Course2FinishTimes, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"Course3FinishTimes", "３着回数", 3, 3, K::Integer, {&S::m_Course3FinishTimes, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"Course4FinishTimes", "４着回数", 3, 3, K::Integer, {&S::m_Course4FinishTimes, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"Course5FinishTimes", "５着回数", 3, 3, K::Integer, {&S::m_Course5FinishTimes, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"Course6FinishTimes", "６着回数", 3, 3, K::Integer, {&S::m_Course6FinishTimes, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"CourseF0Times", "F回数", 2, 2, K::Integer, {&S::m_CourseF0Times, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"CourseL0Times", "L0回数", 2, 2, K::Integer, {&S::m_CourseL0Times, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"CourseL1Times", "L1回数", 2, 2, K::Integer, {&S::m_CourseL1Times, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"CourseK0Times", "K0回数", 2, 2, K::Integer, {&S::m_CourseK0Times, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"CourseK1Times", "K1回数", 2, 2, K::Integer, {&S::m_CourseK1Times, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"CourseS0Times", "S0回数", 2, 2, K::Integer, {&S::m_CourseS0Times, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"CourseS1Times", "S1回数", 2, 2, K::Integer, {&S::m_CourseS1Times, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"CourseS2Times", "S2回数", 2, 2, K::Integer, {&S::m_CourseS2Times, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"OutsideCourseL0Times", "コース外のL0回数", 2, 2, K::Integer, {&S::m_OutsideCourseL0Times, eFieldRule::Plain}, eBlock::Once},
    cRow{"OutsideCourseL1Times", "コース外のL1回数", 2, 2, K::Integer, {&S::m_OutsideCourseL1Times, eFieldRule::Plain}, eBlock::Once},
    cRow{"OutsideCourseK0Times", "コース外のK0回数", 2, 2, K::Integer, {&S::m_OutsideCourseK0Times, eFieldRule::Plain}, eBlock::Once},
    cRow{"OutsideCourseK1Times", "コース外のK1回数", 2, 2, K::Integer, {&S::m_OutsideCourseK1Times, eFieldRule::Plain}, eBlock::Once},
    // Since April 2014 the official file appends the racer's true birthplace
    // at offset 410; the field at offset 35 is the branch (支部).
    cRow{"Birthplace", "出身地", 6, 0, K::Text, {&S::m_Birthplace, eFieldRule::BirthplaceTail}, eBlock::Once},
  };
  // clang-format on

  // A course block is a run of consecutive rows repeated for courses 1 to 6.
  static std::vector<cRecordField> Build(eRecordLayout layout) {
    const bool old2 = layout == eRecordLayout::Old2;
    std::vector<cRecordField> fields;
    std::size_t offset = 0;
    for (std::size_t first = 0; first < kRows.size();) {
      std::size_t end = first + 1;
      while (end < kRows.size() && kRows[end].block == kRows[first].block) ++end;
      const int courses = kRows[first].block == eBlock::EachCourse ? 6 : 1;
      for (int course = 1; course <= courses; ++course) {
        for (std::size_t row = first; row < end; ++row) {
          const cRow& r = kRows[row];
          const std::size_t width = old2 ? r.old2Width : r.width;
          if (width == 0) continue;
          fields.push_back({r.name, r.label, offset, width, r.kind, courses == 6 ? course : 0, static_cast<int>(row)});
          offset += width;
        }
      }
      first = end;
    }
    return fields;
  }
};

const std::vector<cRecordField>& RecordFields(eRecordLayout layout) {
  static const std::vector<cRecordField> current = cFieldTable::Build(eRecordLayout::Current);
  static const std::vector<cRecordField> old2 = cFieldTable::Build(eRecordLayout::Old2);
  return layout == eRecordLayout::Old2 ? old2 : current;
}

const cFieldStore& FieldStore(int row) { return cFieldTable::kRows[static_cast<std::size_t>(row)].store; }
