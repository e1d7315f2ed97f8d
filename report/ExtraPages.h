#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "report/CourseFigures.h"
#include "report/PageText.h"
#include "report/RacerFigures.h"

class cSensyuFile;

// The fan's tools that --extras adds to the site: a search box on the roster
// and the index, the rankings, a chart per course on every racer page and a
// race card for the six boats of a race.

inline constexpr const char* kRankingPageName = "ランキング.html";
inline constexpr const char* kRaceCardPageName = "出走表.html";

// What the ranking and the race card need of a racer is read beside the
// racer's page, on the cores that write the pages.

/// ランキング.html in code page 932: the top 50 of six figures, for all racers and per class.
std::string MakeRankingPage(const cSensyuFile& sensyu, const std::vector<cRacerFigures>& racers);
/// A racer's entry in the race card's data, in code page 932.
std::string RaceCardEntry(const cRacerFigures& racer, const cCourses& courses);
/// 出走表.html in code page 932, with every racer's entry in the page, in the order given.
std::string MakeRaceCardPage(const cSensyuFile& sensyu, const std::vector<std::string>& entries);
/// The racer's starts, top-two and top-three rate per course as an inline SVG, one line a piece.
void WriteCourseChart(cPageText& page, const cCourses& courses);

/// For the roster and the index: the links to the other pages beside the
/// existing one and a line end, then the search box, which its script shows.
std::string ExtraLinksAndSearch();
/// The cell attribute that the search reads (number, reading, name and
/// branch) of each racer, in code page 932: made once for the roster and the
/// index alike. Not for several threads at once.
class cSearchKeys {
 public:
  explicit cSearchKeys(const cSensyuFile& sensyu) : s(sensyu) {}
  /// Racer `no`'s attribute with the blank before it, made at the first call.
  Cp932Bytes Of(const std::string& no);

 private:
  const cSensyuFile& s;
  std::unordered_map<std::string, std::string> m_Keys;
};
/// The search script, one line, for the end of the roster and the index.
std::string SearchScript();
