#include <algorithm>
#include <array>

#include "report/ConvertFanFile.h"
#include "report/Format.h"
#include "report/PageText.h"
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
};

const cFixedParts& Fixed() {
  static const cFixedParts parts;
  return parts;
}

// Each page line looks the racer up again by number, as every figure of the
// data object is read by racer number; the page keeps no copy of the record.
class cSensyuPage {
 public:
  cSensyuPage(const cSensyuFile& sensyu, std::string no) : s(sensyu), m_No(std::move(no)), f(Fixed()) {}

  const std::string& Bytes() {
    WriteHead();
    WriteProfile();
    m_Page << "<BR>";
    m_Page.EndLine();
    WriteOverall();
    WriteCourses();
    WriteTail();
    return m_Page.Bytes();
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
    m_Page << "<HTML><HEAD><TITLE>" << Escaped{s.NameKanji(m_No)};
    Line("</TITLE>");
    Line("<style type=\"text/css\">");
    Line("<!--");
    Line(" td {text-align:center;}");
    Line("-->");
    Line("</style>");
  }

  void WriteProfile() {
    m_Page << "</HEAD><BODY><B>" << Escaped{m_No} << "</B>(" << PlainDigits(s.YoseiKi(m_No)) << f.termClose
           << "<B>" << Escaped{s.Class(m_No)} << f.classClose << Escaped{s.ClassOld1(m_No)} << " "
           << Escaped{s.ClassOld2(m_No)} << " " << Escaped{s.ClassOld3(m_No)} << ")<BR>"
           << "<TABLE BORDER CELLPADDING=3><TR>" << f.profileHeader << "</TR><TR>";
    m_Page << "<TD><FONT SIZE=-1>" << Escaped{ToFullWidth(TrimBlanks(s.NameKana(m_No)))} << "</FONT><BR>"
           << Escaped{s.NameKanji(m_No)} << "</TD>";
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
    Cell(Format00(s.Syoritu(m_No)));
    Cell(Format00(s.FSyoritu(m_No)));
    Cell(Format00(s.Rentairitu3(m_No)));
    const int16_t ability = s.Ability(m_No);
    Cell(PrintForm(ability) + FormatDiff(ability, s.abilityOld(m_No)));
    Cell(Format00(s.StartTiming(m_No)));
    Cell(Format0(s.StratHatujyun(m_No)));
    for (int16_t count : {s.OneFinishTimes(m_No), s.TwoFinishTimes(m_No), s.SyussoTimes(m_No),
                          s.YusyutuTimes(m_No), s.YusyoTimes(m_No), s.FTimes(m_No), s.LTimes(m_No)}) {
      CountCell(count);
    }
    Line("</TR></TABLE><BR>");
  }

  template <class Figure, class Form>
  void CourseRow(std::size_t row, Figure figure, Form form) {
    m_Page << f.courseRows[row];
    for (int16_t course = 1; course <= 6; ++course) Cell(form((s.*figure)(m_No, course)));
    EndCourseRow(row);
  }

  void CountRow(std::size_t row, int16_t (cSensyuFile::*figure)(const std::string&, int16_t) const) {
    m_Page << f.courseRows[row];
    for (int16_t course = 1; course <= 6; ++course) CountCell((s.*figure)(m_No, course));
    EndCourseRow(row);
  }

  void EndCourseRow(std::size_t row) { Line(row + 1 == f.courseRows.size() ? "</TR></TABLE>" : "</TR>"); }

  void WriteCourses() {
    m_Page << "<TABLE BORDER CELLPADDING=3><TR>" << f.courseHeader;
    Line("</TR>");
    const auto f00 = [](float v) { return Format00(v); };
    const auto f0 = [](float v) { return Format0(v); };
    CourseRow(0, &cSensyuFile::CourseStartTiming, f00);
    CourseRow(1, &cSensyuFile::CourseStartHatujyun, f0);
    CourseRow(2, &cSensyuFile::CourseFSyoritu, f00);
    CourseRow(3, &cSensyuFile::CourseRentairitu3, f00);
    CountRow(4, &cSensyuFile::CourseSyussoTimes);
    CountRow(5, &cSensyuFile::Course1FinishTimes);
    CountRow(6, &cSensyuFile::Course2FinishTimes);
    CountRow(7, &cSensyuFile::Course3FinishTimes);
    CountRow(8, &cSensyuFile::Course4FinishTimes);
    CountRow(9, &cSensyuFile::Course5FinishTimes);
    CountRow(10, &cSensyuFile::Course6FinishTimes);
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
  std::string m_No;
  const cFixedParts& f;
  cPageText m_Page;
};

}  // namespace

std::string MakeSensyuPage(const cSensyuFile& sensyu, int16_t index) {
  cSensyuPage page(sensyu, sensyu.SensyuNo(index));
  return page.Bytes();
}
