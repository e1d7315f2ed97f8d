#include <array>
#include <span>

#include "sensyu/FieldTable.h"

namespace {

using K = eFieldKind;
using P = ePeriodField;
using S = cSensyuFile;
using F = eExportForm;

enum class eBlock { Once, EachCourse };

struct cRow {
  std::string_view name, exportName;
  std::size_t width, old2Width;  // old2Width 0: the Old2 layout has no such field
  K kind;
  cFieldStore store;
  eBlock block;
  F form = F::AsStored;
};

}  // namespace

// Friend of cSensyuFile: the table names the members that store each field.
struct cFieldTable {
  // clang-format off
  static constexpr std::array kRows{
    cRow{"SensyuNo", "racer_no", 4, 4, K::Text, {&S::m_SensyuNo, eFieldRule::Plain}, eBlock::Once},
    cRow{"NameKanji", "name_kanji", 16, 16, K::Text, {&S::m_NameKanji, eFieldRule::Plain}, eBlock::Once},
    cRow{"NameKana", "name_kana", 15, 15, K::Text, {&S::m_NameKana, eFieldRule::Plain}, eBlock::Once},
    cRow{"Branch", "branch", 4, 4, K::Text, {&S::m_Branch, eFieldRule::AlsoBirthplace}, eBlock::Once},
    cRow{"Class", "class", 2, 2, K::Text, {&S::m_Class, eFieldRule::Plain}, eBlock::Once},
    cRow{"Birth", "birth_date", 7, 7, K::Text, {&S::m_Birth, eFieldRule::Plain}, eBlock::Once, F::Date},
    cRow{"Sex", "sex", 1, 1, K::Integer, {&S::m_Sex, eFieldRule::Plain}, eBlock::Once},
    cRow{"Age", "age", 2, 2, K::Integer, {&S::m_Age, eFieldRule::Plain}, eBlock::Once},
    cRow{"Height", "height", 3, 3, K::Integer, {&S::m_Height, eFieldRule::Plain}, eBlock::Once},
    cRow{"Weight", "weight", 2, 2, K::Integer, {&S::m_Weight, eFieldRule::Plain}, eBlock::Once},
    cRow{"Blood", "blood_type", 2, 2, K::Text, {&S::m_Blood, eFieldRule::Plain}, eBlock::Once},
    cRow{"Syoritu", "win_rate", 4, 4, K::Hundredths, {&S::m_Syoritu, eFieldRule::Plain}, eBlock::Once},
    cRow{"FSyoritu", "top2_rate", 4, 4, K::Tenths, {&S::m_FSyoritu, eFieldRule::Plain}, eBlock::Once},
    cRow{"OneFinishTimes", "firsts", 3, 3, K::Integer, {&S::m_OneFinishTimes, eFieldRule::Plain}, eBlock::Once},
    cRow{"TwoFinishTimes", "seconds", 3, 3, K::Integer, {&S::m_TwoFinishTimes, eFieldRule::Plain}, eBlock::Once},
    cRow{"SyussoTimes", "starts", 3, 3, K::Integer, {&S::m_SyussoTimes, eFieldRule::Plain}, eBlock::Once},
    cRow{"YusyutuTimes", "finals", 2, 2, K::Integer, {&S::m_YusyutuTimes, eFieldRule::Plain}, eBlock::Once},
    cRow{"YusyoTimes", "wins", 2, 2, K::Integer, {&S::m_YusyoTimes, eFieldRule::Plain}, eBlock::Once},
    cRow{"StartTiming", "start_timing", 3, 3, K::Hundredths, {&S::m_StartTiming, eFieldRule::Plain}, eBlock::Once},
    cRow{"CourseSyussoTimes", "entries", 3, 3, K::Integer, {&S::m_CourseSyussoTimes, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"CourseFSyoritu", "top2_rate", 4, 4, K::Tenths, {&S::m_CourseFSyoritu, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"CourseStartTiming", "start_timing", 3, 3, K::Hundredths, {&S::m_CourseStartTiming, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"CourseStartHatujyun", "start_order", 3, 3, K::Hundredths, {&S::m_CourseStartHatujyun, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"ClassOld1", "prev_class_1", 2, 2, K::Text, {&S::m_ClassOld1, eFieldRule::Plain}, eBlock::Once},
    cRow{"ClassOld2", "prev_class_2", 2, 2, K::Text, {&S::m_ClassOld2, eFieldRule::Plain}, eBlock::Once},
    cRow{"ClassOld3", "prev_class_3", 2, 2, K::Text, {&S::m_ClassOld3, eFieldRule::Plain}, eBlock::Once},
    cRow{"abilityOld", "prev_ability", 4, 4, K::Index, {&S::m_abilityOld, eFieldRule::Plain}, eBlock::Once},
    cRow{"Ability", "ability", 4, 4, K::Index, {&S::m_Ability, eFieldRule::Plain}, eBlock::Once},
    // The Old2 layout has a two-digit year, six-character dates and a
    // two-digit training term; they are stored as read, never widened.
    cRow{"Nen", "year", 4, 2, K::Integer, {P::Nen, eFieldRule::Plain}, eBlock::Once, F::Year},
    cRow{"Ki", "half", 1, 1, K::Integer, {P::Ki, eFieldRule::Plain}, eBlock::Once},
    cRow{"YmdStart", "period_start", 8, 6, K::Text, {P::YmdStart, eFieldRule::Plain}, eBlock::Once, F::Date},
    cRow{"YmdEnd", "period_end", 8, 6, K::Text, {P::YmdEnd, eFieldRule::Plain}, eBlock::Once, F::Date},
    cRow{"YoseiKi", "training_term", 3, 2, K::Integer, {&S::m_YoseiKi, eFieldRule::Plain}, eBlock::Once},
    cRow{"Course1FinishTimes", "place1", 3, 3, K::Integer, {&S::m_Course1FinishTimes, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"Course2FinishTimes", "place2", 3, 3, K::Integer, {&S::m_Course2FinishTimes, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"Course3FinishTimes", "place3", 3, 3, K::Integer, {&S::m_Course3FinishTimes, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"Course4FinishTimes", "place4", 3, 3, K::Integer, {&S::m_Course4FinishTimes, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"Course5FinishTimes", "place5", 3, 3, K::Integer, {&S::m_Course5FinishTimes, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"Course6FinishTimes", "place6", 3, 3, K::Integer, {&S::m_Course6FinishTimes, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"CourseF0Times", "f0", 2, 2, K::Integer, {&S::m_CourseF0Times, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"CourseL0Times", "l0", 2, 2, K::Integer, {&S::m_CourseL0Times, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"CourseL1Times", "l1", 2, 2, K::Integer, {&S::m_CourseL1Times, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"CourseK0Times", "k0", 2, 2, K::Integer, {&S::m_CourseK0Times, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"CourseK1Times", "k1", 2, 2, K::Integer, {&S::m_CourseK1Times, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"CourseS0Times", "s0", 2, 2, K::Integer, {&S::m_CourseS0Times, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"CourseS1Times", "s1", 2, 2, K::Integer, {&S::m_CourseS1Times, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"CourseS2Times", "s2", 2, 2, K::Integer, {&S::m_CourseS2Times, eFieldRule::Plain}, eBlock::EachCourse},
    cRow{"OutsideCourseL0Times", "outside_l0", 2, 2, K::Integer, {&S::m_OutsideCourseL0Times, eFieldRule::Plain}, eBlock::Once},
    cRow{"OutsideCourseL1Times", "outside_l1", 2, 2, K::Integer, {&S::m_OutsideCourseL1Times, eFieldRule::Plain}, eBlock::Once},
    cRow{"OutsideCourseK0Times", "outside_k0", 2, 2, K::Integer, {&S::m_OutsideCourseK0Times, eFieldRule::Plain}, eBlock::Once},
    cRow{"OutsideCourseK1Times", "outside_k1", 2, 2, K::Integer, {&S::m_OutsideCourseK1Times, eFieldRule::Plain}, eBlock::Once},
    // Since April 2014 the official file appends the racer's true birthplace
    // at offset 410; the field at offset 35 is the branch (支部).
    cRow{"Birthplace", "birthplace", 6, 0, K::Text, {&S::m_Birthplace, eFieldRule::BirthplaceTail}, eBlock::Once},
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
          fields.push_back({r.name, r.exportName, offset, width, r.kind, courses == 6 ? course : 0,
                            static_cast<int>(row), r.form});
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
