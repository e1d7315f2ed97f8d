#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "report/ChartScale.h"
#include "report/ConvertFanFile.h"
#include "report/CourseFigures.h"
#include "report/ExtraPages.h"
#include "report/Format.h"
#include "report/PageText.h"
#include "report/PeriodHistory.h"
#include "report/ToFullWidth.h"
#include "report/TrimBlanks.h"

namespace {

constexpr const char* kProfileHeader =
    "<TD BGCOLOR=#99FFFF>選手名</TD><TD BGCOLOR=#99FFFF>出身地</TD><TD BGCOLOR=#99FFFF>性別</TD>"
    "<TD BGCOLOR=#99FFFF>生年月日</TD><TD BGCOLOR=#99FFFF>血液型</TD><TD BGCOLOR=#99FFFF>身長</TD>"
    "<TD BGCOLOR=#99FFFF>体重</TD>";
constexpr const char* kOverallHeader =
    "<TD BGCOLOR=#99FFFF>勝率</TD><TD BGCOLOR=#99FFFF>2連対率</TD><TD BGCOLOR=#99FFFF>3連対率</TD>"
    "<TD BGCOLOR=#99FFFF>能力指数</TD><TD BGCOLOR=#99FFFF><FONT SIZE=-1>スタートタイミング</FONT></TD>"
    "<TD BGCOLOR=#99FFFF><FONT SIZE=-1>スタート順</FONT></TD><TD BGCOLOR=#99FFFF>１着</TD>"
    "<TD BGCOLOR=#99FFFF>２着</TD><TD BGCOLOR=#99FFFF>出走</TD><TD BGCOLOR=#99FFFF>優出</TD>"
    "<TD BGCOLOR=#99FFFF>優勝</TD><TD BGCOLOR=#99FFFF>Ｆ</TD><TD BGCOLOR=#99FFFF>Ｌ</TD>";
constexpr const char* kCourseHeader =
    "<TD BGCOLOR=#99FFFF>進入コース</TD><TD BGCOLOR=#99FFFF>１コース</TD><TD BGCOLOR=#99FFFF>２コース</TD>"
    "<TD BGCOLOR=#99FFFF>３コース</TD><TD BGCOLOR=#99FFFF>４コース</TD><TD BGCOLOR=#99FFFF>５コース</TD>"
    "<TD BGCOLOR=#99FFFF>６コース</TD>";
constexpr const char* kHistoryHeader =
    "<B>期別成績</B><BR>\r\n<TABLE BORDER CELLPADDING=3><TR><TD BGCOLOR=#99FFFF>期</TD>"
    "<TD BGCOLOR=#99FFFF>級別</TD><TD BGCOLOR=#99FFFF>勝率</TD><TD BGCOLOR=#99FFFF>2連対率</TD>"
    "<TD BGCOLOR=#99FFFF>出走</TD><TD BGCOLOR=#99FFFF>１着</TD><TD BGCOLOR=#99FFFF>２着</TD>"
    "<TD BGCOLOR=#99FFFF>優出</TD><TD BGCOLOR=#99FFFF>優勝</TD>"
    "<TD BGCOLOR=#99FFFF><FONT SIZE=-1>スタートタイミング</FONT></TD><TD BGCOLOR=#99FFFF>能力指数</TD></TR>";

// The chart's frame: plot area x 60..460, y 20..220; the win rate's scale
// (0-10) on the left and the top-two rate's (0-100 %) on the right share the
// grid. The two series differ in line (solid, dashed) and marker (disc,
// square), so that the chart reads in black and white too.
constexpr const char* kChartFrame =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"520\" height=\"320\" viewBox=\"0 0 520 320\" "
    "role=\"img\" font-family=\"sans-serif\" font-size=\"11\">\r\n"
    "<title>期別の勝率と2連対率</title>\r\n"
    "<g stroke=\"#cccccc\"><line x1=\"60\" y1=\"20\" x2=\"460\" y2=\"20\"/>"
    "<line x1=\"60\" y1=\"60\" x2=\"460\" y2=\"60\"/><line x1=\"60\" y1=\"100\" x2=\"460\" y2=\"100\"/>"
    "<line x1=\"60\" y1=\"140\" x2=\"460\" y2=\"140\"/><line x1=\"60\" y1=\"180\" x2=\"460\" y2=\"180\"/></g>\r\n"
    "<g stroke=\"black\"><line x1=\"60\" y1=\"20\" x2=\"60\" y2=\"220\"/>"
    "<line x1=\"460\" y1=\"20\" x2=\"460\" y2=\"220\"/><line x1=\"60\" y1=\"220\" x2=\"460\" y2=\"220\"/></g>\r\n"
    "<g text-anchor=\"end\"><text x=\"54\" y=\"224\">0</text><text x=\"54\" y=\"184\">2</text>"
    "<text x=\"54\" y=\"144\">4</text><text x=\"54\" y=\"104\">6</text><text x=\"54\" y=\"64\">8</text>"
    "<text x=\"54\" y=\"24\">10</text></g>\r\n"
    "<g text-anchor=\"start\"><text x=\"466\" y=\"224\">0</text><text x=\"466\" y=\"184\">20</text>"
    "<text x=\"466\" y=\"144\">40</text><text x=\"466\" y=\"104\">60</text><text x=\"466\" y=\"64\">80</text>"
    "<text x=\"466\" y=\"24\">100</text></g>\r\n"
    "<text x=\"60\" y=\"12\" text-anchor=\"middle\">勝率</text>"
    "<text x=\"460\" y=\"12\" text-anchor=\"middle\">2連対率(%)</text>"
    "<text x=\"260\" y=\"290\" text-anchor=\"middle\">期</text>\r\n"
    "<line x1=\"60\" y1=\"306\" x2=\"100\" y2=\"306\" stroke=\"#1f4e9c\" stroke-width=\"2\"/>"
    "<circle cx=\"80\" cy=\"306\" r=\"4\" fill=\"#1f4e9c\"/><text x=\"106\" y=\"310\">勝率（左の目盛）</text>"
    "<line x1=\"250\" y1=\"306\" x2=\"290\" y2=\"306\" stroke=\"#b03a2e\" stroke-width=\"2\" "
    "stroke-dasharray=\"6 4\"/><rect x=\"266\" y=\"302\" width=\"8\" height=\"8\" fill=\"white\" "
    "stroke=\"#b03a2e\" stroke-width=\"2\"/><text x=\"296\" y=\"310\">2連対率（右の目盛）</text>\r\n";

// The pieces with Japanese text that every racer page repeats, in code page
// 932 once for the run instead of once per page.
struct cFixedParts {
  cEncodedText profileHeader{kProfileHeader};
  cEncodedText overallHeader{kOverallHeader};
  cEncodedText courseHeader{kCourseHeader};
  cEncodedText termClose{"期) "};
  cEncodedText classClose{"級</B>("};
  cEncodedText female{"女"};
  cEncodedText male{"男"};
  cEncodedText ageClose{"才)</TD>"};
  cEncodedText bloodClose{"型</TD>"};
  std::array<cEncodedText, 11> courseRows{
      cEncodedText{"<TR><TD><FONT SIZE=-1>スタートタイミング</FONT></TD>"},
      cEncodedText{"<TR><TD><FONT SIZE=-1>スタート順</FONT></TD>"},
      cEncodedText{"<TR><TD>2連対率</TD>"},
      cEncodedText{"<TR><TD>3連対率</TD>"},
      cEncodedText{"<TR><TD>回数</TD>"},
      cEncodedText{"<TR><TD>１着</TD>"},
      cEncodedText{"<TR><TD>２着</TD>"},
      cEncodedText{"<TR><TD>３着</TD>"},
      cEncodedText{"<TR><TD>４着</TD>"},
      cEncodedText{"<TR><TD>５着</TD>"},
      cEncodedText{"<TR><TD>６着</TD>"}};
  cEncodedText backButton{"<INPUT type=\"button\" onClick='history.back();' value=\"戻る\">"};
  cEncodedText footer{CommonFooter()};
  cEncodedText historyHeader{kHistoryHeader};
  cEncodedText chartFrame{kChartFrame};
};

// One row of the period table: the period's label and the racer's figures.
struct cHistoryLine {
  const std::string* label;
  const cPeriodFigures* figures;
};

const cFixedParts& Fixed() {
  static const cFixedParts parts;
  return parts;
}

// The profile is looked up by racer number as each line is written; the
// period and course figures come read and formatted once, as the rankings,
// the course chart and the race card show them too.
class cSensyuPage {
 public:
  cSensyuPage(const cSensyuFile& sensyu, const cRacerFigures& racer, const cCourses& courses,
              const cPeriodHistory* history, bool extras)
      : s(sensyu),
        m_Racer(racer),
        m_No(racer.no),
        m_Courses(courses),
        f(Fixed()),
        m_History(history),
        m_Extras(extras),
        m_Page(extras ? 8192 : 4096) {}  // a racer page is about 3 KB, 6 KB with its course chart

  std::string Bytes() {
    WriteHead();
    WriteProfile();
    m_Page << "<BR>";
    m_Page.EndLine();
    WriteOverall();
    WriteCourses();
    if (m_Extras) {
      m_Page << "<BR>";
      m_Page.EndLine();
      WriteCourseChart(m_Page, m_Courses);
    }
    if (m_History) WriteHistory();
    WriteTail();
    return m_Page.Take();
  }

 private:
  template <class Piece>
  void Cell(const Piece& value) {
    m_Page << "<TD>" << value << "</TD>";
  }

  // A count cell in one piece: the course table holds dozens.
  void CountCell(int16_t count) {
    char cell[4 + kPrintFormRoom + 5] = {'<', 'T', 'D', '>'};
    char* end = PrintFormTo(cell + 4, count);
    end = std::copy_n("</TD>", 5, end);
    m_Page << std::string_view(cell, static_cast<std::size_t>(end - cell));
  }

  template <class Piece>
  void Line(const Piece& text) {
    m_Page << text;
    m_Page.EndLine();
  }

  void WriteHead() {
    m_Page << "<HTML><HEAD><TITLE>" << Escaped{m_Racer.name};
    Line("</TITLE>");
    Line("<style type=\"text/css\">");
    Line("<!--");
    Line(" td {text-align:center;}");
    Line("-->");
    Line("</style>");
  }

  void WriteProfile() {
    m_Page << "</HEAD><BODY><B>" << Escaped{m_No} << "</B>(" << PlainDigits(s.YoseiKi(m_No)) << f.termClose
           << "<B>" << Escaped{m_Racer.classText} << f.classClose << Escaped{s.ClassOld1(m_No)} << " "
           << Escaped{s.ClassOld2(m_No)} << " " << Escaped{s.ClassOld3(m_No)} << ")<BR>"
           << "<TABLE BORDER CELLPADDING=3><TR>" << f.profileHeader << "</TR><TR>";
    m_Page << "<TD><FONT SIZE=-1>" << Escaped{ToFullWidth(TrimBlanks(s.NameKana(m_No)))} << "</FONT><BR>"
           << Escaped{m_Racer.name} << "</TD>";
    Cell(Escaped{s.Birthplace(m_No)});
    m_Page << "<TD>" << (s.Sex(m_No) == 2 ? f.female : f.male) << "</TD>";
    m_Page << "<TD>" << Escaped{FormatYmd7(s.Birth(m_No))} << "(" << PlainDigits(s.Age(m_No)) << f.ageClose;
    m_Page << "<TD>" << Escaped{s.Blood(m_No)} << f.bloodClose;
    m_Page << "<TD>" << PrintForm(s.Height(m_No)) << "cm</TD>";
    m_Page << "<TD>" << PrintForm(s.Weight(m_No)) << "kg</TD>";
    Line("</TR></TABLE>");
  }

  void WriteOverall() {
    m_Page << "<TABLE BORDER CELLPADDING=3><TR>";
    Line(f.overallHeader);
    m_Page << "</TR><TR>";
    const cRacerFigures& r = m_Racer;
    Cell(r.syorituText);
    Cell(r.fSyorituText);
    Cell(r.rentairitu3Text);
    Cell(PrintForm(r.ability) + FormatDiff(r.ability, r.abilityOld));
    Cell(r.startTimingText);
    Cell(r.stratHatujyunText);
    for (int16_t count : {r.oneFinishTimes, r.twoFinishTimes, r.syussoTimes, r.yusyutuTimes, r.yusyoTimes, r.fTimes, r.lTimes}) {
      CountCell(count);
    }
    Line("</TR></TABLE><BR>");
  }

  void TextRow(std::size_t row, std::string cCourseFigures::*text) {
    m_Page << f.courseRows[row];
    for (const cCourseFigures& c : m_Courses) Cell(c.*text);
    EndCourseRow(row);
  }

  template <class Count>
  void CountRow(std::size_t row, Count count) {
    m_Page << f.courseRows[row];
    for (const cCourseFigures& c : m_Courses) CountCell(count(c));
    EndCourseRow(row);
  }

  void EndCourseRow(std::size_t row) { Line(row + 1 == f.courseRows.size() ? "</TR></TABLE>" : "</TR>"); }

  void WriteCourses() {
    m_Page << "<TABLE BORDER CELLPADDING=3><TR>" << f.courseHeader;
    Line("</TR>");
    TextRow(0, &cCourseFigures::startTimingText);
    TextRow(1, &cCourseFigures::startHatujyunText);
    TextRow(2, &cCourseFigures::fSyorituText);
    TextRow(3, &cCourseFigures::rentairitu3Text);
    CountRow(4, [](const cCourseFigures& c) { return c.starts; });
    for (std::size_t place = 0; place < 6; ++place) {
      CountRow(5 + place, [place](const cCourseFigures& c) { return c.places[place]; });
    }
  }

  // The current period, then the older ones the racer appears in: newest first.
  void WriteHistory() {
    const std::string label = s.GetSensyuFileVersion();
    const cPeriodFigures current = PeriodFiguresOf(s, m_No);
    std::vector<cHistoryLine> lines{{&label, &current}};
    for (const cPeriodRow& row : m_History->Rows(m_No)) {
      lines.push_back({&m_History->Periods()[row.period].label, &row.figures});
    }
    m_Page << "<BR>";
    m_Page.EndLine();
    Line(f.historyHeader);
    for (const cHistoryLine& line : lines) {
      const cPeriodFigures& r = *line.figures;
      const bool a1 = r.classText == "A1";
      m_Page << "<TR><TD>" << *line.label << (a1 ? "</TD><TD><B>" : "</TD><TD>") << Escaped{r.classText}
             << (a1 ? "</B></TD>" : "</TD>");
      Cell(Format00(r.syoritu));
      Cell(Format00(r.fSyoritu));
      for (int16_t count : {r.syussoTimes, r.oneFinishTimes, r.twoFinishTimes, r.yusyutuTimes, r.yusyoTimes}) {
        CountCell(count);
      }
      Cell(Format00(r.startTiming));
      Cell(PrintForm(r.ability));
      Line("</TR>");
    }
    Line("</TABLE><BR>");
    WriteChart(lines);
  }

  // Oldest on the left, newest on the right, clear of the axes (x 80..440);
  // one period stands in the middle.
  void WriteChart(const std::vector<cHistoryLine>& lines) {
    const std::size_t n = lines.size();
    std::vector<int> x(n);
    for (std::size_t i = 0; i < n; ++i) {
      x[i] = n == 1 ? 2600 : 800 + static_cast<int>(3600 * (n - 1 - i) / (n - 1));
    }
    m_Page << f.chartFrame;
    for (std::size_t i = n; i-- > 0;) {
      const std::string at = Tenths(x[i]);
      m_Page << "<text x=\"" << at << "\" y=\"234\" text-anchor=\"end\" transform=\"rotate(-40 " << at
             << " 234)\">" << *lines[i].label << "</text>";
    }
    m_Page.EndLine();
    std::string win, twoTop, discs, squares;
    for (std::size_t i = n; i-- > 0;) {
      const int yWin = ChartY(lines[i].figures->syoritu, 100);
      const int yTwoTop = ChartY(lines[i].figures->fSyoritu, 10);
      win += (win.empty() ? "" : " ") + Tenths(x[i]) + "," + Tenths(yWin);
      twoTop += (twoTop.empty() ? "" : " ") + Tenths(x[i]) + "," + Tenths(yTwoTop);
      discs += "<circle cx=\"" + Tenths(x[i]) + "\" cy=\"" + Tenths(yWin) + "\" r=\"4\"/>";
      squares += "<rect x=\"" + Tenths(x[i] - 40) + "\" y=\"" + Tenths(yTwoTop - 40) + "\" width=\"8\" height=\"8\"/>";
    }
    Line("<polyline class=\"fsyoritu\" points=\"" + twoTop +
         "\" fill=\"none\" stroke=\"#b03a2e\" stroke-width=\"2\" stroke-dasharray=\"6 4\"/>");
    Line("<polyline class=\"syoritu\" points=\"" + win + "\" fill=\"none\" stroke=\"#1f4e9c\" stroke-width=\"2\"/>");
    // Discs over squares: where both figures meet, the disc shows inside the square.
    Line("<g fill=\"white\" stroke=\"#b03a2e\" stroke-width=\"2\">" + squares + "</g>");
    Line("<g fill=\"#1f4e9c\">" + discs + "</g>");
    Line("</svg><BR>");
  }

  void WriteTail() {
    Line("<form>");
    Line(f.backButton);
    Line("</form>");
    Line("<HR>");
    Line(f.footer);
    Line("</BODY></HTML>");
  }

  const cSensyuFile& s;
  const cRacerFigures& m_Racer;
  const std::string& m_No;
  const cCourses& m_Courses;
  const cFixedParts& f;
  const cPeriodHistory* m_History;
  bool m_Extras;
  cPageText m_Page;
};

}  // namespace

std::string MakeSensyuPage(const cSensyuFile& sensyu, const cRacerFigures& racer, const cCourses& courses,
                           const cPeriodHistory* history, bool extras) {
  cSensyuPage page(sensyu, racer, courses, history, extras);
  return page.Bytes();
}
