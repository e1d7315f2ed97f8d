#include "report/RacerRows.h"

#include <algorithm>
#include <string>

namespace {

// Two statements' worth of the database's racer rows; the cells of a stretch
// are made again in the same vectors.
constexpr std::size_t kStretch = 64;

void MakeRows(const cSensyuFile& sensyu, const std::string& no, eRecordLayout layout, cRacerRows& rows) {
  rows.number = cCell::Text(no);
  rows.racer.clear();
  AppendRacerCells(sensyu, no, layout, rows.racer);
  rows.courses.clear();
  for (int16_t course = 1; course <= 6; ++course) AppendCourseCells(sensyu, no, course, rows.courses);
}

}  // namespace

void ForEachRacerRows(const cSensyuFile& sensyu, eRecordLayout layout,
                      const std::function<void(std::span<const cRacerRows> rows)>& take) {
  const std::vector<std::string> racers = RacersInOrder(sensyu);
  std::vector<cRacerRows> stretch(std::min(kStretch, racers.size()));
  for (std::size_t first = 0; first < racers.size(); first += kStretch) {
    const std::size_t count = std::min(kStretch, racers.size() - first);
    for (std::size_t i = 0; i < count; ++i) MakeRows(sensyu, racers[first + i], layout, stretch[i]);
    take(std::span(stretch).first(count));
  }
}
