#pragma once
#include <array>
#include <cstdint>
#include <string>

class cSensyuFile;

/// One course of a racer: the counts, the rates the course chart plots, and
/// the figures as the pages print them.
struct cCourseFigures {
  int16_t starts = 0;
  std::array<int16_t, 6> places{};  // first to sixth
  float fSyoritu = 0, rentairitu3 = 0;
  std::string startTimingText, startHatujyunText, fSyorituText, rentairitu3Text;
};

/// Courses 1 to 6 at [0..5].
using cCourses = std::array<cCourseFigures, 6>;

/// Racer `no`'s figures per course, read from the racer data and formatted
/// once for the course table, the course chart and the race card alike.
cCourses CoursesOf(const cSensyuFile& sensyu, const std::string& no);
