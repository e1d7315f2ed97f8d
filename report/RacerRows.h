#pragma once
#include <functional>
#include <span>
#include <vector>

#include "report/ExportColumns.h"

/// A racer's cells in one period: its number, the row of RacerColumns(), and
/// the six rows of CourseColumns(), course 1 first, one after another.
struct cRacerRows {
  cCell number;
  std::vector<cCell> racer, courses;
};

/// Calls take(rows) for the racers of `sensyu` in the order of
/// RacersInOrder(), a stretch of up to 64 racers at a time: a table can keep
/// pointers to their cells until `take` returns.
void ForEachRacerRows(const cSensyuFile& sensyu, eRecordLayout layout,
                      const std::function<void(std::span<const cRacerRows> rows)>& take);
