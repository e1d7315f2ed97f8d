#include "report/RosterPage.h"

#include "report/ExtraPages.h"
#include "report/Format.h"
#include "sensyu/cSensyuFile.h"

namespace {
constexpr const char* kWhite = "bgcolor=\"#ffffff\"";
constexpr const char* kCream = "bgcolor=\"#ffffe0\"";
}  // namespace

cRosterPage::cRosterPage(const cSensyuFile& sensyu, int16_t count, cSearchKeys* search)
    : s(sensyu), m_Colour(kWhite), m_Search(search) {
  for (const char* line : {"<HTML><HEAD><TITLE>モーターボートファン手帳ページ</TITLE>", "<style type=\"text/css\">",
                           "<!--", " a { text-decoration:none;}", "-->", "</style>"}) {
    m_Page << line;
    m_Page.EndLine();
  }
  m_Page << "</HEAD><BODY><H3>モーターボートファン手帳</H3>■<A HREF=索引.html>索引</A>"
         << (m_Search ? ExtraLinksAndSearch() : "<BR>") << "<HR>";
  m_Page.EndLine();
  m_Page << "<TABLE BORDER CELLPADDING=3>";
  m_Page.EndLine();
  m_Page << "<CAPTION>" << PrintForm(s.Nen()) << "年" << GetKiName(s.Ki()) << "期" << "\u3000"
         << PrintForm(count) << "名</CAPTION>";
  m_Page.EndLine();
}

void cRosterPage::AddCell(const std::string& no, const std::string& path) {
  if (m_Cells == 0) m_Page << "<TR>";
  std::string label;
  const int16_t yoseiKi = s.YoseiKi(no);
  if (yoseiKi != m_PrevYoseiKi) {
    m_PrevYoseiKi = yoseiKi;
    label.append("(").append(PlainDigits(yoseiKi)).append("期)");  // not "(" + ...: g++ 12 -O2 warns falsely
    m_Colour = (m_Colour == kWhite) ? kCream : kWhite;
  }
  const bool a1 = s.Class(no) == "A1";
  m_Page << "<TD NOWAP " << m_Colour;
  if (m_Search) m_Page << m_Search->Of(no);
  m_Page << ">" << Escaped{no} << label << (a1 ? "<BR><B><A HREF=" : "<BR><A HREF=")
         << Escaped{path} << ">" << Escaped{s.NameKanji(no)} << (a1 ? "</A></B></TD>" : "</A></TD>");
  if (++m_Cells == 6) {
    m_Page << "</TR>";
    m_Page.EndLine();
    m_Cells = 0;
  }
}

const std::string& cRosterPage::Finish() {
  if (m_Cells > 0) {
    m_Page << "</TR>";
    m_Page.EndLine();
  }
  m_Page << "</TABLE>";
  m_Page.EndLine();
  m_Page << "<BR>";
  m_Page.EndLine();
  m_Page << "算出期間：" << Escaped{FormatYmd8(s.YmdStart())} << "～" << Escaped{FormatYmd8(s.YmdEnd())}
         << "<BR><HR>";
  m_Page.EndLine();
  m_Page << CommonFooter();
  m_Page.EndLine();
  if (m_Search) {
    m_Page << SearchScript();
    m_Page.EndLine();
  }
  m_Page << "</BODY></HTML>";
  m_Page.EndLine();
  return m_Page.Bytes();
}
