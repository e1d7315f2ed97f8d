#include "sensyu/cSensyuFile.h"

#include <stdexcept>

#include "sensyu/FieldTable.h"

// Storage, lookup and the properties that return a stored value unchanged.

namespace {

template <class Member>
void Reset(Member& member, std::size_t slots) {
  member.assign(slots, typename Member::value_type{});
}

}  // namespace

void cSensyuFile::InitSensyuData(int16_t n) {
  m_Nen = 0;
  m_Ki = 0;
  m_YmdStart.clear();
  m_YmdEnd.clear();
  const std::size_t slots = static_cast<std::size_t>(n) + 1;  // slot 0 is the "not loaded" slot
  for (PerRacerText* m : {&m_SensyuNo, &m_NameKanji, &m_NameKana, &m_Branch, &m_Birthplace,
                          &m_Class, &m_Birth, &m_Blood, &m_ClassOld1, &m_ClassOld2, &m_ClassOld3}) {
    Reset(*m, slots);
  }
  for (PerRacerInt* m : {&m_Sex, &m_Age, &m_Height, &m_Weight, &m_OneFinishTimes, &m_TwoFinishTimes,
                         &m_SyussoTimes, &m_YusyutuTimes, &m_YusyoTimes, &m_abilityOld, &m_Ability,
                         &m_YoseiKi, &m_OutsideCourseL0Times, &m_OutsideCourseL1Times,
                         &m_OutsideCourseK0Times, &m_OutsideCourseK1Times}) {
    Reset(*m, slots);
  }
  for (PerRacerFloat* m : {&m_Syoritu, &m_FSyoritu, &m_StartTiming}) Reset(*m, slots);
  for (PerCourseInt* m :
       {&m_CourseSyussoTimes, &m_Course1FinishTimes, &m_Course2FinishTimes, &m_Course3FinishTimes,
        &m_Course4FinishTimes, &m_Course5FinishTimes, &m_Course6FinishTimes, &m_CourseF0Times,
        &m_CourseL0Times, &m_CourseL1Times, &m_CourseK0Times, &m_CourseK1Times, &m_CourseS0Times,
        &m_CourseS1Times, &m_CourseS2Times}) {
    Reset(*m, slots);
  }
  for (PerCourseFloat* m : {&m_CourseFSyoritu, &m_CourseStartTiming, &m_CourseStartHatujyun}) {
    Reset(*m, slots);
  }
  m_SlotOf.Clear();
}

void cSensyuFile::RebuildIndex() {
  m_SlotOf.Build(m_SensyuNo);
}

int16_t cSensyuFile::FindSensyuIndex(const std::string& strSensyuNo) const {
  return m_SlotOf.Find(m_SensyuNo, strSensyuNo);
}

int16_t cSensyuFile::SlotCount() const {
  return m_SensyuNo.empty() ? 0 : static_cast<int16_t>(m_SensyuNo.size() - 1);
}

template <class T>
T cSensyuFile::Stored(const std::vector<T>& member, const std::string& strSensyuNo) const {
  int16_t slot = FindSensyuIndex(strSensyuNo);
  return slot == 0 ? T{} : member[static_cast<std::size_t>(slot)];
}

template <class T>
T cSensyuFile::StoredCourse(const std::vector<std::array<T, 7>>& member,
                            const std::string& strSensyuNo, int16_t intCourseNo) const {
  int16_t slot = FindSensyuIndex(strSensyuNo);
  if (slot == 0) return T{};
  if (intCourseNo < 1 || intCourseNo > 6) throw std::out_of_range("course number outside 1..6");
  return member[static_cast<std::size_t>(slot)][static_cast<std::size_t>(intCourseNo)];
}

std::string cSensyuFile::SensyuNo(int16_t index) const {
  if (index < 0) throw std::out_of_range("slot number below 0");
  return m_SensyuNo.at(static_cast<std::size_t>(index));
}

// Per racer.
std::string cSensyuFile::NameKanji(const std::string& strSensyuNo) const {
  return Stored(m_NameKanji, strSensyuNo);
}
std::string cSensyuFile::NameKana(const std::string& strSensyuNo) const {
  return Stored(m_NameKana, strSensyuNo);
}
std::string cSensyuFile::Birthplace(const std::string& strSensyuNo) const {
  return Stored(m_Birthplace, strSensyuNo);
}
std::string cSensyuFile::Branch(const std::string& strSensyuNo) const {
  return Stored(m_Branch, strSensyuNo);
}
std::string cSensyuFile::Class(const std::string& strSensyuNo) const {
  return Stored(m_Class, strSensyuNo);
}
std::string cSensyuFile::ClassOld1(const std::string& strSensyuNo) const {
  return Stored(m_ClassOld1, strSensyuNo);
}
std::string cSensyuFile::ClassOld2(const std::string& strSensyuNo) const {
  return Stored(m_ClassOld2, strSensyuNo);
}
std::string cSensyuFile::ClassOld3(const std::string& strSensyuNo) const {
  return Stored(m_ClassOld3, strSensyuNo);
}
std::string cSensyuFile::Birth(const std::string& strSensyuNo) const {
  return Stored(m_Birth, strSensyuNo);
}
std::string cSensyuFile::Blood(const std::string& strSensyuNo) const {
  return Stored(m_Blood, strSensyuNo);
}
int16_t cSensyuFile::Age(const std::string& strSensyuNo) const {
  return Stored(m_Age, strSensyuNo);
}
int16_t cSensyuFile::Sex(const std::string& strSensyuNo) const {
  return Stored(m_Sex, strSensyuNo);
}
int16_t cSensyuFile::Height(const std::string& strSensyuNo) const {
  return Stored(m_Height, strSensyuNo);
}
int16_t cSensyuFile::Weight(const std::string& strSensyuNo) const {
  return Stored(m_Weight, strSensyuNo);
}
int16_t cSensyuFile::Ability(const std::string& strSensyuNo) const {
  return Stored(m_Ability, strSensyuNo);
}
int16_t cSensyuFile::abilityOld(const std::string& strSensyuNo) const {
  return Stored(m_abilityOld, strSensyuNo);
}
int16_t cSensyuFile::YoseiKi(const std::string& strSensyuNo) const {
  return Stored(m_YoseiKi, strSensyuNo);
}
float cSensyuFile::Syoritu(const std::string& strSensyuNo) const {
  return Stored(m_Syoritu, strSensyuNo);
}
float cSensyuFile::FSyoritu(const std::string& strSensyuNo) const {
  return Stored(m_FSyoritu, strSensyuNo);
}
float cSensyuFile::StartTiming(const std::string& strSensyuNo) const {
  return Stored(m_StartTiming, strSensyuNo);
}
int16_t cSensyuFile::SyussoTimes(const std::string& strSensyuNo) const {
  return Stored(m_SyussoTimes, strSensyuNo);
}
int16_t cSensyuFile::OneFinishTimes(const std::string& strSensyuNo) const {
  return Stored(m_OneFinishTimes, strSensyuNo);
}
int16_t cSensyuFile::TwoFinishTimes(const std::string& strSensyuNo) const {
  return Stored(m_TwoFinishTimes, strSensyuNo);
}
int16_t cSensyuFile::YusyutuTimes(const std::string& strSensyuNo) const {
  return Stored(m_YusyutuTimes, strSensyuNo);
}
int16_t cSensyuFile::YusyoTimes(const std::string& strSensyuNo) const {
  return Stored(m_YusyoTimes, strSensyuNo);
}
int16_t cSensyuFile::OutsideCourseL0Times(const std::string& strSensyuNo) const {
  return Stored(m_OutsideCourseL0Times, strSensyuNo);
}
int16_t cSensyuFile::OutsideCourseL1Times(const std::string& strSensyuNo) const {
  return Stored(m_OutsideCourseL1Times, strSensyuNo);
}
int16_t cSensyuFile::OutsideCourseK0Times(const std::string& strSensyuNo) const {
  return Stored(m_OutsideCourseK0Times, strSensyuNo);
}
int16_t cSensyuFile::OutsideCourseK1Times(const std::string& strSensyuNo) const {
  return Stored(m_OutsideCourseK1Times, strSensyuNo);
}

// Per racer and course.
int16_t cSensyuFile::CourseSyussoTimes(const std::string& strSensyuNo, int16_t intCourseNo) const {
  return StoredCourse(m_CourseSyussoTimes, strSensyuNo, intCourseNo);
}
float cSensyuFile::CourseFSyoritu(const std::string& strSensyuNo, int16_t intCourseNo) const {
  return StoredCourse(m_CourseFSyoritu, strSensyuNo, intCourseNo);
}
float cSensyuFile::CourseStartTiming(const std::string& strSensyuNo, int16_t intCourseNo) const {
  return StoredCourse(m_CourseStartTiming, strSensyuNo, intCourseNo);
}
float cSensyuFile::CourseStartHatujyun(const std::string& strSensyuNo, int16_t intCourseNo) const {
  return StoredCourse(m_CourseStartHatujyun, strSensyuNo, intCourseNo);
}
int16_t cSensyuFile::Course1FinishTimes(const std::string& strSensyuNo, int16_t intCourseNo) const {
  return StoredCourse(m_Course1FinishTimes, strSensyuNo, intCourseNo);
}
int16_t cSensyuFile::Course2FinishTimes(const std::string& strSensyuNo, int16_t intCourseNo) const {
  return StoredCourse(m_Course2FinishTimes, strSensyuNo, intCourseNo);
}
int16_t cSensyuFile::Course3FinishTimes(const std::string& strSensyuNo, int16_t intCourseNo) const {
  return StoredCourse(m_Course3FinishTimes, strSensyuNo, intCourseNo);
}
int16_t cSensyuFile::Course4FinishTimes(const std::string& strSensyuNo, int16_t intCourseNo) const {
  return StoredCourse(m_Course4FinishTimes, strSensyuNo, intCourseNo);
}
int16_t cSensyuFile::Course5FinishTimes(const std::string& strSensyuNo, int16_t intCourseNo) const {
  return StoredCourse(m_Course5FinishTimes, strSensyuNo, intCourseNo);
}
int16_t cSensyuFile::Course6FinishTimes(const std::string& strSensyuNo, int16_t intCourseNo) const {
  return StoredCourse(m_Course6FinishTimes, strSensyuNo, intCourseNo);
}
int16_t cSensyuFile::CourseF0Times(const std::string& strSensyuNo, int16_t intCourseNo) const {
  return StoredCourse(m_CourseF0Times, strSensyuNo, intCourseNo);
}
int16_t cSensyuFile::CourseL0Times(const std::string& strSensyuNo, int16_t intCourseNo) const {
  return StoredCourse(m_CourseL0Times, strSensyuNo, intCourseNo);
}
int16_t cSensyuFile::CourseL1Times(const std::string& strSensyuNo, int16_t intCourseNo) const {
  return StoredCourse(m_CourseL1Times, strSensyuNo, intCourseNo);
}
int16_t cSensyuFile::CourseK0Times(const std::string& strSensyuNo, int16_t intCourseNo) const {
  return StoredCourse(m_CourseK0Times, strSensyuNo, intCourseNo);
}
int16_t cSensyuFile::CourseK1Times(const std::string& strSensyuNo, int16_t intCourseNo) const {
  return StoredCourse(m_CourseK1Times, strSensyuNo, intCourseNo);
}
int16_t cSensyuFile::CourseS0Times(const std::string& strSensyuNo, int16_t intCourseNo) const {
  return StoredCourse(m_CourseS0Times, strSensyuNo, intCourseNo);
}
int16_t cSensyuFile::CourseS1Times(const std::string& strSensyuNo, int16_t intCourseNo) const {
  return StoredCourse(m_CourseS1Times, strSensyuNo, intCourseNo);
}
int16_t cSensyuFile::CourseS2Times(const std::string& strSensyuNo, int16_t intCourseNo) const {
  return StoredCourse(m_CourseS2Times, strSensyuNo, intCourseNo);
}

// Any stored field by its row of the layout table: the data out walks the
// table instead of naming every property.
cSensyuFile::cFieldValue cSensyuFile::FieldValue(const std::string& strSensyuNo, int row,
                                                 int16_t intCourseNo) const {
  return std::visit(
      [&](auto member) -> cFieldValue {
        using M = decltype(member);
        if constexpr (std::is_same_v<M, ePeriodField>) {
          switch (member) {
            case ePeriodField::Nen: return m_Nen;
            case ePeriodField::Ki: return m_Ki;
            case ePeriodField::YmdStart: return m_YmdStart;
            case ePeriodField::YmdEnd: return m_YmdEnd;
          }
          throw std::logic_error("unknown period field");
        } else if constexpr (std::is_same_v<M, PerCourseInt cSensyuFile::*> ||
                             std::is_same_v<M, PerCourseFloat cSensyuFile::*>) {
          return StoredCourse(this->*member, strSensyuNo, intCourseNo);
        } else {
          return Stored(this->*member, strSensyuNo);
        }
      },
      FieldStore(row).member);
}
