#include <array>

#include "report/ConvertFanFile.h"
#include "report/Format.h"
#include "report/PageFile.h"
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

// Each page line looks the racer up again by number, as every figure of the
// data object is read by racer number; the page keeps no copy of the record.
class cSensyuPage {
 public:
  cSensyuPage(const cSensyuFile& sensyu, std::string no) : s(sensyu), m_No(std::move(no)) {}

  std::string Text() {
    WriteHead();
    WriteProfile();
    m_Page << "<BR>";
    m_Page.EndLine();
    WriteOverall();
    WriteCourses();
    WriteTail();
    return m_Page.Utf8();
  }

 private:
  void Cell(std::string_view value) { m_Page << "<TD>" << value << "</TD>"; }

  void Line(std::string_view text) {
    m_Page << text;
    m_Page.EndLine();
  }

  void WriteHead() {
    Line("<HTML><HEAD><TITLE>" + HtmlEscape(s.NameKanji(m_No)) + "</TITLE>");
    Line("<style type=\"text/css\">");
    Line("<!--");
    Line(" td {text-align:center;}");
    Line("-->");
    Line("</style>");
  }

  void WriteProfile() {
    m_Page << "</HEAD><BODY><B>" << HtmlEscape(m_No) << "</B>(" << PlainDigits(s.YoseiKi(m_No)) << "期) "
           << "<B>" << HtmlEscape(s.Class(m_No)) << "級</B>(" << HtmlEscape(s.ClassOld1(m_No)) << " "
           << HtmlEscape(s.ClassOld2(m_No)) << " " << HtmlEscape(s.ClassOld3(m_No)) << ")<BR>"
           << "<TABLE BORDER CELLPADDING=3><TR>" << kProfileHeader << "</TR><TR>";
    m_Page << "<TD><FONT SIZE=-1>" << HtmlEscape(ToFullWidth(TrimBlanks(s.NameKana(m_No)))) << "</FONT><BR>"
           << HtmlEscape(s.NameKanji(m_No)) << "</TD>";
    Cell(HtmlEscape(s.Birthplace(m_No)));
    Cell(s.Sex(m_No) == 2 ? "女" : "男");
    m_Page << "<TD>" << HtmlEscape(FormatYmd7(s.Birth(m_No))) << "(" << PlainDigits(s.Age(m_No)) << "才)</TD>";
    m_Page << "<TD>" << HtmlEscape(s.Blood(m_No)) << "型</TD>";
    m_Page << "<TD>" << PrintForm(s.Height(m_No)) << "cm</TD>";
    m_Page << "<TD>" << PrintForm(s.Weight(m_No)) << "kg</TD>";
    Line("</TR></TABLE>");
  }

  void WriteOverall() {
    Line(std::string("<TABLE BORDER CELLPADDING=3><TR>") + kOverallHeader);
    m_Page << "</TR><TR>";
    Cell(Format00(s.Syoritu(m_No)));
    Cell(Format00(s.FSyoritu(m_No)));
    Cell(Format00(s.Rentairitu3(m_No)));
    const int16_t ability = s.Ability(m_No);
    Cell(PrintForm(ability) + FormatDiff(PlainDigits(ability), PlainDigits(s.abilityOld(m_No))));
    Cell(Format00(s.StartTiming(m_No)));
    Cell(Format0(s.StratHatujyun(m_No)));
    for (int16_t count : {s.OneFinishTimes(m_No), s.TwoFinishTimes(m_No), s.SyussoTimes(m_No),
                          s.YusyutuTimes(m_No), s.YusyoTimes(m_No), s.FTimes(m_No), s.LTimes(m_No)}) {
      Cell(PrintForm(count));
    }
    Line("</TR></TABLE><BR>");
  }

  template <class Figure, class Form>
  void CourseRow(std::string_view opening, Figure figure, Form form, bool last = false) {
    m_Page << opening;
    for (int16_t course = 1; course <= 6; ++course) Cell(form((s.*figure)(m_No, course)));
    Line(last ? "</TR></TABLE>" : "</TR>");
  }

  void WriteCourses() {
    Line(std::string("<TABLE BORDER CELLPADDING=3><TR>") + kCourseHeader + "</TR>");
    const auto f00 = [](float v) { return Format00(v); };
    const auto f0 = [](float v) { return Format0(v); };
    const auto count = [](int16_t v) { return PrintForm(v); };
    CourseRow("<TR><TD><FONT SIZE=-1>スタートタイミング</FONT></TD>", &cSensyuFile::CourseStartTiming, f00);
    CourseRow("<TR><TD><FONT SIZE=-1>スタート順</FONT></TD>", &cSensyuFile::CourseStartHatujyun, f0);
    CourseRow("<TR><TD>2連対率</TD>", &cSensyuFile::CourseFSyoritu, f00);
    CourseRow("<TR><TD>3連対率</TD>", &cSensyuFile::CourseRentairitu3, f00);
    CourseRow("<TR><TD>回数</TD>", &cSensyuFile::CourseSyussoTimes, count);
    CourseRow("<TR><TD>１着</TD>", &cSensyuFile::Course1FinishTimes, count);
    CourseRow("<TR><TD>２着</TD>", &cSensyuFile::Course2FinishTimes, count);
    CourseRow("<TR><TD>３着</TD>", &cSensyuFile::Course3FinishTimes, count);
    CourseRow("<TR><TD>４着</TD>", &cSensyuFile::Course4FinishTimes, count);
    CourseRow("<TR><TD>５着</TD>", &cSensyuFile::Course5FinishTimes, count);
    CourseRow("<TR><TD>６着</TD>", &cSensyuFile::Course6FinishTimes, count, true);
  }

  void WriteTail() {
    Line("<form>");
    Line("<INPUT type=\"button\" onClick='history.back();' value=\"戻る\">");
    Line("</form>");
    Line("<HR>");
    Line(CommonFooter());
    Line("</BODY></HTML>");
  }

  const cSensyuFile& s;
  std::string m_No;
  cPageText m_Page;
};

}  // namespace

std::string SensyuPageText(const cSensyuFile& sensyu, int16_t index) {
  return cSensyuPage(sensyu, sensyu.SensyuNo(index)).Text();
}

void MakeSensyuPage(const cSensyuFile& sensyu, int16_t index, const std::filesystem::path& outputFolder) {
  const std::string no = sensyu.SensyuNo(index);
  const std::filesystem::path folder = GetSensyuFolder(TextToInt16(no), true, outputFolder);
  SavePage(folder / (no + ".html"), SensyuPageText(sensyu, index));
}
