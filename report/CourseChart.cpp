#include <array>
#include <string>

#include "report/ChartScale.h"
#include "report/ExtraPages.h"

namespace {

// The frame of the period chart: the starts' scale on the left (five steps of
// a round size), the rates' (0-100 %) on the right, sharing the grid. Starts are
// grey bars with their count above; the top-two rate is a dashed line with
// squares, the top-three rate a solid line with discs, so that the chart reads
// in black and white too.
constexpr const char* kHead =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"520\" height=\"290\" viewBox=\"0 0 520 290\" "
    "role=\"img\" font-family=\"sans-serif\" font-size=\"11\">\r\n"
    "<title>コース別の進入回数と2連対率・3連対率</title><desc>";
constexpr const char* kFrame =
    "<path d=\"M60 20H460M60 60H460M60 100H460M60 140H460M60 180H460\" stroke=\"#cccccc\"/>"
    "<path d=\"M60 20V220H460V20\" fill=\"none\" stroke=\"black\"/>\r\n"
    "<g text-anchor=\"start\"><text x=\"466\" y=\"224\">0</text><text x=\"466\" y=\"184\">20</text>"
    "<text x=\"466\" y=\"144\">40</text><text x=\"466\" y=\"104\">60</text><text x=\"466\" y=\"64\">80</text>"
    "<text x=\"466\" y=\"24\">100</text></g>\r\n"
    "<text x=\"60\" y=\"12\" text-anchor=\"middle\">進入回数</text>"
    "<text x=\"460\" y=\"12\" text-anchor=\"middle\">連対率(%)</text>\r\n"
    "<g text-anchor=\"middle\"><text x=\"93.3\" y=\"238\">1コース</text><text x=\"160.0\" y=\"238\">2コース</text>"
    "<text x=\"226.7\" y=\"238\">3コース</text><text x=\"293.3\" y=\"238\">4コース</text>"
    "<text x=\"360.0\" y=\"238\">5コース</text><text x=\"426.7\" y=\"238\">6コース</text></g>\r\n"
    "<rect x=\"60\" y=\"262\" width=\"14\" height=\"10\" fill=\"#c8c8c8\" stroke=\"#555555\"/>"
    "<text x=\"80\" y=\"271\">進入回数（左）</text>"
    "<line x1=\"200\" y1=\"267\" x2=\"240\" y2=\"267\" stroke=\"#b03a2e\" stroke-width=\"2\" "
    "stroke-dasharray=\"6 4\"/><rect x=\"216\" y=\"263\" width=\"8\" height=\"8\" fill=\"white\" "
    "stroke=\"#b03a2e\" stroke-width=\"2\"/><text x=\"246\" y=\"271\">2連対率（右）</text>"
    "<line x1=\"360\" y1=\"267\" x2=\"400\" y2=\"267\" stroke=\"#1b6e3a\" stroke-width=\"2\"/>"
    "<circle cx=\"380\" cy=\"267\" r=\"4\" fill=\"#1b6e3a\"/><text x=\"406\" y=\"271\">3連対率（右）</text>\r\n";

// The middle of course k's column, in tenths of a pixel: six columns over x 60..460.
int CourseX(int course) { return 600 + (4000 * (2 * course - 1) + 6) / 12; }

// The smallest round step (1, 2, 5, 10, 20, 50, ...) whose five steps reach `most`.
int StartsStep(int most) {
  for (int step = 1;; step *= 10) {
    for (int factor : {1, 2, 5}) {
      if (5 * step * factor >= most) return step * factor;
    }
  }
}

// What the chart writes of one course before each of its figures; the
// course's column stands at a fixed x.
struct cCourseParts {
  explicit cCourseParts(int course)
      : description((course > 1 ? "、" : "") + std::to_string(course) + "コース 進入"),
        bar("<rect x=\"" + Tenths(CourseX(course) - 150) + "\" y=\""),
        square("<rect x=\"" + Tenths(CourseX(course) - 40) + "\" y=\""),
        disc("<circle cx=\"" + Tenths(CourseX(course)) + "\" cy=\""),
        count("<text x=\"" + Tenths(CourseX(course)) + "\" y=\""),
        moveTo("M" + Tenths(CourseX(course)) + ","),
        lineTo("L" + Tenths(CourseX(course)) + ",") {}
  cShortPiece description, bar, square, disc, count, moveTo, lineTo;
};

// The pieces every racer page repeats, in code page 932 once for the run.
struct cChartParts {
  cEncodedText head{kHead};
  cEncodedText frame{kFrame};
  cShortPiece starts{"回 2連対率"};
  cShortPiece threeTop{"% 3連対率"};
  std::array<cCourseParts, 6> courses{cCourseParts(1), cCourseParts(2), cCourseParts(3),
                                      cCourseParts(4), cCourseParts(5), cCourseParts(6)};
  // The starts' scale, from 0 at the bottom up to five steps.
  std::array<cShortPiece, 6> scale{cShortPiece("<text x=\"54\" y=\"224\">"), cShortPiece("<text x=\"54\" y=\"184\">"),
                                    cShortPiece("<text x=\"54\" y=\"144\">"), cShortPiece("<text x=\"54\" y=\"104\">"),
                                    cShortPiece("<text x=\"54\" y=\"64\">"), cShortPiece("<text x=\"54\" y=\"24\">")};
};

const cChartParts& Parts() {
  static const cChartParts parts;
  return parts;
}

// One course's column: the starts, and where they and the rates stand.
struct cCourseColumn {
  int starts;
  int barTop, twoTopY, threeTopY;
  const cCourseParts* parts;
};

using cColumns = std::array<cCourseColumn, 6>;

cColumns Columns(const cCourses& courses) {
  cColumns columns{};
  for (std::size_t i = 0; i < 6; ++i) {
    columns[i] = {courses[i].starts, 0, ChartY(courses[i].fSyoritu, 10), ChartY(courses[i].rentairitu3, 10),
                  &Parts().courses[i]};
  }
  return columns;
}

// The text alternative: each course's starts and rates.
void WriteDescription(cMarkupRun& m, const cCourses& courses) {
  const cChartParts& p = Parts();
  m << p.head;
  for (std::size_t i = 0; i < 6; ++i) {
    const cCourseFigures& c = courses[i];
    m << p.courses[i].description << c.starts << p.starts;
    m.Figure(c.fSyorituText) << p.threeTop;
    m.Figure(c.rentairitu3Text) << "%";
  }
  m << "</desc>";
  m.EndLine();
}

// The starts' scale and a bar per course.
void WriteStarts(cMarkupRun& m, cColumns& columns) {
  const cChartParts& p = Parts();
  int most = 0;
  for (const cCourseColumn& c : columns) most = std::max(most, c.starts);
  const int step = StartsStep(most);
  m << p.frame << "<g text-anchor=\"end\">";
  for (int i = 0; i <= 5; ++i) m << p.scale[static_cast<std::size_t>(i)] << i * step << "</text>";
  m << "</g>";
  m.EndLine();
  m << "<g class=\"starts\" fill=\"#c8c8c8\" stroke=\"#555555\">";
  for (cCourseColumn& c : columns) {
    c.barTop = 2200 - (c.starts * 400 + step / 2) / step;
    m << c.parts->bar << cTenths{c.barTop} << "\" width=\"30\" height=\"" << cTenths{2200 - c.barTop} << "\"/>";
  }
  m << "</g>";
  m.EndLine();
}

// A rate line through the courses with starts; a course without any breaks it.
void WriteRateLine(cMarkupRun& m, const cColumns& columns, int cCourseColumn::*y) {
  bool open = false, first = true;
  for (const cCourseColumn& c : columns) {
    if (c.starts == 0) {
      open = false;
      continue;
    }
    if (!first) m << " ";
    m << (open ? c.parts->lineTo : c.parts->moveTo) << cTenths{c.*y};
    open = true;
    first = false;
  }
}

void WriteRates(cMarkupRun& m, const cColumns& columns) {
  m << "<path class=\"fsyoritu\" d=\"";
  WriteRateLine(m, columns, &cCourseColumn::twoTopY);
  m << "\" fill=\"none\" stroke=\"#b03a2e\" stroke-width=\"2\" stroke-dasharray=\"6 4\"/>";
  m.EndLine();
  m << "<path class=\"rentairitu3\" d=\"";
  WriteRateLine(m, columns, &cCourseColumn::threeTopY);
  m << "\" fill=\"none\" stroke=\"#1b6e3a\" stroke-width=\"2\"/>";
  m.EndLine();
  m << "<g fill=\"white\" stroke=\"#b03a2e\" stroke-width=\"2\">";
  for (const cCourseColumn& c : columns) {
    if (c.starts == 0) continue;
    m << c.parts->square << cTenths{c.twoTopY - 40} << "\" width=\"8\" height=\"8\"/>";
  }
  m << "</g>";
  m.EndLine();
  m << "<g fill=\"#1b6e3a\">";
  for (const cCourseColumn& c : columns) {
    if (c.starts == 0) continue;
    m << c.parts->disc << cTenths{c.threeTopY} << "\" r=\"4\"/>";
  }
  m << "</g>";
  m.EndLine();
}

}  // namespace

void WriteCourseChart(cPageText& page, const cCourses& courses) {
  cMarkupRun m(page);
  cColumns columns = Columns(courses);
  WriteDescription(m, courses);
  WriteStarts(m, columns);
  WriteRates(m, columns);
  // The counts last, with a white edge: they stay readable where a line crosses them.
  m << "<g text-anchor=\"middle\" stroke=\"white\" stroke-width=\"3\" paint-order=\"stroke\">";
  for (const cCourseColumn& c : columns) m << c.parts->count << cTenths{c.barTop - 40} << "\">" << c.starts << "</text>";
  m << "</g>";
  m.EndLine();
  m << "</svg><BR>";
  m.EndLine();
  m.Flush();
}
