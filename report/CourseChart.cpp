#include <array>

#include "report/ChartScale.h"
#include "report/ExtraPages.h"
#include "report/Format.h"
#include "sensyu/cSensyuFile.h"

namespace {

// The frame of the period chart: the starts' scale on the left (five steps of
// a round size), the rates' (0-100 %) on the right, sharing the grid. Starts are
// grey bars with their count above; the top-two rate is a dashed line with
// squares, the top-three rate a solid line with discs, so that the chart reads
// in black and white too.
constexpr const char* kFrame =
    "<g stroke=\"#cccccc\"><line x1=\"60\" y1=\"20\" x2=\"460\" y2=\"20\"/>"
    "<line x1=\"60\" y1=\"60\" x2=\"460\" y2=\"60\"/><line x1=\"60\" y1=\"100\" x2=\"460\" y2=\"100\"/>"
    "<line x1=\"60\" y1=\"140\" x2=\"460\" y2=\"140\"/><line x1=\"60\" y1=\"180\" x2=\"460\" y2=\"180\"/></g>\r\n"
    "<g stroke=\"black\"><line x1=\"60\" y1=\"20\" x2=\"60\" y2=\"220\"/>"
    "<line x1=\"460\" y1=\"20\" x2=\"460\" y2=\"220\"/><line x1=\"60\" y1=\"220\" x2=\"460\" y2=\"220\"/></g>\r\n"
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

struct cCourseFigures {
  int16_t starts;
  float twoTop, threeTop;
};

// A rate line through the courses with starts; a course without any breaks it.
std::string RateLine(const std::array<cCourseFigures, 6>& courses, float cCourseFigures::*rate, std::string& marks,
                     bool squares) {
  std::string d;
  bool open = false;
  for (int k = 1; k <= 6; ++k) {
    const cCourseFigures& c = courses[static_cast<std::size_t>(k - 1)];
    if (c.starts == 0) {
      open = false;
      continue;
    }
    const int x = CourseX(k), y = ChartY(c.*rate, 10);
    d += (d.empty() ? "" : " ") + std::string(open ? "L" : "M") + Tenths(x) + "," + Tenths(y);
    open = true;
    marks += squares ? "<rect x=\"" + Tenths(x - 40) + "\" y=\"" + Tenths(y - 40) + "\" width=\"8\" height=\"8\"/>"
                     : "<circle cx=\"" + Tenths(x) + "\" cy=\"" + Tenths(y) + "\" r=\"4\"/>";
  }
  return d;
}

}  // namespace

void WriteCourseChart(cPageText& page, const cSensyuFile& s, const std::string& no) {
  std::array<cCourseFigures, 6> courses{};
  int most = 0;
  std::string desc;
  for (int16_t k = 1; k <= 6; ++k) {
    cCourseFigures& c = courses[static_cast<std::size_t>(k - 1)];
    c = {s.CourseSyussoTimes(no, k), s.CourseFSyoritu(no, k), s.CourseRentairitu3(no, k)};
    most = std::max(most, static_cast<int>(c.starts));
    desc += (k > 1 ? "、" : "") + PlainDigits(k) + "コース 進入" + PlainDigits(c.starts) + "回 2連対率" +
            Format00(c.twoTop) + "% 3連対率" + Format00(c.threeTop) + "%";
  }
  const int step = StartsStep(most);
  page << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"520\" height=\"290\" viewBox=\"0 0 520 290\" "
          "role=\"img\" font-family=\"sans-serif\" font-size=\"11\">";
  page.EndLine();
  page << "<title>コース別の進入回数と2連対率・3連対率</title><desc>" << desc << "</desc>";
  page.EndLine();
  page << kFrame << "<g text-anchor=\"end\">";
  for (int i = 0; i <= 5; ++i) {
    page << "<text x=\"54\" y=\"" << PlainDigits(224 - 40 * i) << "\">" << PlainDigits(i * step) << "</text>";
  }
  page << "</g>";
  page.EndLine();
  std::string bars, counts;
  for (int k = 1; k <= 6; ++k) {
    const int starts = courses[static_cast<std::size_t>(k - 1)].starts;
    const int top = 2200 - (starts * 400 + step / 2) / step;
    bars += "<rect x=\"" + Tenths(CourseX(k) - 150) + "\" y=\"" + Tenths(top) + "\" width=\"30\" height=\"" +
            Tenths(2200 - top) + "\"/>";
    counts += "<text x=\"" + Tenths(CourseX(k)) + "\" y=\"" + Tenths(top - 40) + "\">" + PlainDigits(starts) +
              "</text>";
  }
  page << "<g class=\"starts\" fill=\"#c8c8c8\" stroke=\"#555555\">" << bars << "</g>";
  page.EndLine();
  std::string squares, discs;
  const std::string twoTop = RateLine(courses, &cCourseFigures::twoTop, squares, true);
  const std::string threeTop = RateLine(courses, &cCourseFigures::threeTop, discs, false);
  page << "<path class=\"fsyoritu\" d=\"" << twoTop
       << "\" fill=\"none\" stroke=\"#b03a2e\" stroke-width=\"2\" stroke-dasharray=\"6 4\"/>";
  page.EndLine();
  page << "<path class=\"rentairitu3\" d=\"" << threeTop << "\" fill=\"none\" stroke=\"#1b6e3a\" stroke-width=\"2\"/>";
  page.EndLine();
  page << "<g fill=\"white\" stroke=\"#b03a2e\" stroke-width=\"2\">" << squares << "</g>";
  page.EndLine();
  page << "<g fill=\"#1b6e3a\">" << discs << "</g>";
  page.EndLine();
  // The counts last, with a white edge: they stay readable where a line crosses them.
  page << "<g text-anchor=\"middle\" stroke=\"white\" stroke-width=\"3\" paint-order=\"stroke\">" << counts
       << "</g>";
  page.EndLine();
  page << "</svg><BR>";
  page.EndLine();
}
