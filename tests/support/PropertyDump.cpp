#include "support/PropertyDump.h"

#include <cstdio>
#include <sstream>
#include <vector>

namespace {

std::string Num(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.9g", v);
  return buf;
}

}  // namespace

// clang-format off
#define RACER(p) out << " " #p "=" << f.p(no) << "\n";
#define FIGURE(p) out << " " #p "=" << Num(f.p(no)) << "\n";
#define COURSE(p) out << " " #p "="; \
  for (int16_t c = 1; c <= 6; ++c) out << Num(f.p(no, c)) << (c < 6 ? " " : "\n");
// clang-format on

std::string DumpRacers(const cSensyuFile& f) {
  std::ostringstream out;
  out << "period=" << f.Nen() << " " << f.Ki() << " [" << f.YmdStart() << "] [" << f.YmdEnd() << "] "
      << f.GetSensyuFileVersion() << " last=" << f.LastYoseiKi() << " slots=" << f.SlotCount() << "\n";
  // Every slot's racer, then a number no slot holds: its figures must all be 0.
  std::vector<std::string> numbers;
  for (int16_t slot = 1; slot <= f.SlotCount(); ++slot) numbers.push_back(f.SensyuNo(slot));
  numbers.push_back("none");
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    const std::string& no = numbers[i];
    out << "slot " << i + 1 << " [" << no << "]\n";
    if (no.empty()) continue;
    RACER(NameKanji) RACER(NameKana) RACER(Branch) RACER(Birthplace) RACER(Class) RACER(Birth)
    FIGURE(Sex) FIGURE(Age) FIGURE(Height) FIGURE(Weight) RACER(Blood) FIGURE(Syoritu) FIGURE(FSyoritu)
    FIGURE(OneFinishTimes) FIGURE(TwoFinishTimes) FIGURE(SyussoTimes) FIGURE(YusyutuTimes) FIGURE(YusyoTimes)
    FIGURE(StartTiming) RACER(ClassOld1) RACER(ClassOld2) RACER(ClassOld3) FIGURE(abilityOld) FIGURE(Ability)
    FIGURE(YoseiKi) FIGURE(OutsideCourseL0Times) FIGURE(OutsideCourseL1Times) FIGURE(OutsideCourseK0Times)
    FIGURE(OutsideCourseK1Times) FIGURE(FTimes) FIGURE(LTimes) FIGURE(Rentairitu1) FIGURE(Rentairitu2)
    FIGURE(Rentairitu3) FIGURE(InSisu) FIGURE(StratHatujyun)
    out << " Nyuchakuritu=";
    for (int16_t p = 0; p <= 7; ++p) out << Num(f.Nyuchakuritu(no, p)) << (p < 7 ? " " : "\n");
    COURSE(CourseSyussoTimes) COURSE(CourseFSyoritu) COURSE(CourseStartTiming) COURSE(CourseStartHatujyun)
    COURSE(Course1FinishTimes) COURSE(Course2FinishTimes) COURSE(Course3FinishTimes) COURSE(Course4FinishTimes)
    COURSE(Course5FinishTimes) COURSE(Course6FinishTimes) COURSE(CourseF0Times) COURSE(CourseL0Times)
    COURSE(CourseL1Times) COURSE(CourseK0Times) COURSE(CourseK1Times) COURSE(CourseS0Times)
    COURSE(CourseS1Times) COURSE(CourseS2Times) COURSE(CourseRentairitu3)
  }
  return out.str();
}
