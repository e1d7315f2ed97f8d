#include "ReadEveryProperty.h"

#include <string>

#include "sensyu/RunError.h"

namespace {

// Results go here so the calls cannot be optimised away.
volatile double g_Sink = 0;

void Keep(double value) { g_Sink = g_Sink + value; }
void Keep(const std::string& text) { g_Sink = g_Sink + static_cast<double>(text.size()); }

// A 16-bit overflow is reported as cRunError by design; any other exception escapes.
template <class Read>
void Touch(Read read) {
  try {
    Keep(read());
  } catch (const cRunError&) {
  }
}

void ReadRacer(const cSensyuFile& s, const std::string& no) {
  Touch([&] { return s.StratHatujyun(no); });
  Touch([&] { return s.InSisu(no); });
  Touch([&] { return s.FTimes(no); });
  Touch([&] { return s.LTimes(no); });
  Touch([&] { return s.Rentairitu1(no); });
  Touch([&] { return s.Rentairitu2(no); });
  Touch([&] { return s.Rentairitu3(no); });
  Touch([&] { return s.Syoritu(no); });
  Touch([&] { return s.FSyoritu(no); });
  Touch([&] { return s.StartTiming(no); });
  Touch([&] { return s.SyussoTimes(no); });
  Touch([&] { return s.OneFinishTimes(no); });
  Touch([&] { return s.TwoFinishTimes(no); });
  Touch([&] { return s.YusyutuTimes(no); });
  Touch([&] { return s.YusyoTimes(no); });
  Touch([&] { return s.OutsideCourseL0Times(no); });
  Touch([&] { return s.OutsideCourseL1Times(no); });
  Touch([&] { return s.OutsideCourseK0Times(no); });
  Touch([&] { return s.OutsideCourseK1Times(no); });
  Touch([&] { return s.YoseiKi(no); });
  Touch([&] { return s.abilityOld(no); });
  Touch([&] { return s.Ability(no); });
  Touch([&] { return s.ClassOld1(no); });
  Touch([&] { return s.ClassOld2(no); });
  Touch([&] { return s.ClassOld3(no); });
  Touch([&] { return s.Age(no); });
  Touch([&] { return s.Birth(no); });
  Touch([&] { return s.Birthplace(no); });
  Touch([&] { return s.Branch(no); });
  Touch([&] { return s.Blood(no); });
  Touch([&] { return s.Class(no); });
  Touch([&] { return s.Height(no); });
  Touch([&] { return s.NameKana(no); });
  Touch([&] { return s.NameKanji(no); });
  Touch([&] { return s.Sex(no); });
  Touch([&] { return s.Weight(no); });
  // 0 and 7 ask for the results with a code instead of a place.
  for (int16_t chaku = 0; chaku <= 7; ++chaku) Touch([&] { return s.Nyuchakuritu(no, chaku); });
}

void ReadCourse(const cSensyuFile& s, const std::string& no, int16_t c) {
  Touch([&] { return s.CourseS2Times(no, c); });
  Touch([&] { return s.CourseS1Times(no, c); });
  Touch([&] { return s.CourseS0Times(no, c); });
  Touch([&] { return s.CourseK1Times(no, c); });
  Touch([&] { return s.CourseK0Times(no, c); });
  Touch([&] { return s.CourseL1Times(no, c); });
  Touch([&] { return s.CourseL0Times(no, c); });
  Touch([&] { return s.CourseF0Times(no, c); });
  Touch([&] { return s.Course6FinishTimes(no, c); });
  Touch([&] { return s.Course5FinishTimes(no, c); });
  Touch([&] { return s.Course4FinishTimes(no, c); });
  Touch([&] { return s.Course1FinishTimes(no, c); });
  Touch([&] { return s.Course2FinishTimes(no, c); });
  Touch([&] { return s.Course3FinishTimes(no, c); });
  Touch([&] { return s.CourseStartHatujyun(no, c); });
  Touch([&] { return s.CourseSyussoTimes(no, c); });
  Touch([&] { return s.CourseFSyoritu(no, c); });
  Touch([&] { return s.CourseStartTiming(no, c); });
  Touch([&] { return s.CourseRentairitu3(no, c); });
}

void ReadFile(const cSensyuFile& s) {
  Keep(s.GetSensyuFileVersion());
  Keep(s.LastYoseiKi());
  Keep(s.Nen());
  Keep(s.Ki());
  Keep(s.YmdStart());
  Keep(s.YmdEnd());
}

}  // namespace

void ReadEveryProperty(const cSensyuFile& sensyu) {
  ReadFile(sensyu);
  const int n = sensyu.SlotCount();
  for (int slot = 0; slot <= n; ++slot) {
    const std::string no = sensyu.SensyuNo(static_cast<int16_t>(slot));
    ReadRacer(sensyu, no);
    for (int16_t c = 1; c <= 6; ++c) ReadCourse(sensyu, no, c);
  }
  // A number no record can carry: five characters, where a record's has four.
  ReadRacer(sensyu, "99999");
  ReadCourse(sensyu, "99999", 1);
}
