#include "report/CourseFigures.h"

#include "report/Format.h"
#include "sensyu/cSensyuFile.h"

cCourses CoursesOf(const cSensyuFile& s, const std::string& no) {
  cCourses courses;
  for (int16_t k = 1; k <= 6; ++k) {
    cCourseFigures& c = courses[static_cast<std::size_t>(k - 1)];
    c.starts = s.CourseSyussoTimes(no, k);
    c.places = {s.Course1FinishTimes(no, k), s.Course2FinishTimes(no, k), s.Course3FinishTimes(no, k),
                s.Course4FinishTimes(no, k), s.Course5FinishTimes(no, k), s.Course6FinishTimes(no, k)};
    c.fSyoritu = s.CourseFSyoritu(no, k);
    c.rentairitu3 = s.CourseRentairitu3(no, k);
    c.startTimingText = Format00(s.CourseStartTiming(no, k));
    c.startHatujyunText = Format0(s.CourseStartHatujyun(no, k));
    c.fSyorituText = Format00(c.fSyoritu);
    c.rentairitu3Text = Format00(c.rentairitu3);
  }
  return courses;
}
