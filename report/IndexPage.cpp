#include "report/ConvertFanFile.h"
#include "report/ExtraPages.h"
#include "report/Format.h"
#include "report/PageText.h"
#include "report/ToFullWidth.h"
#include "report/TrimBlanks.h"

namespace {

void WriteHead(cPageText& page, bool extras) {
  for (const char* line : {"<HTML><HEAD><TITLE>索引ページ</TITLE>", "<style type=\"text/css\">", "<!--",
                           " a { text-decoration:none;}", "-->", "</style>"}) {
    page << line;
    page.EndLine();
  }
  page << "</HEAD><BODY><H3>索引</H3>■<A HREF=ファン手帳.html>モーターボートファン手帳</A>"
       << (extras ? ExtraLinksAndSearch() : "<BR>") << "<HR>";
  page.EndLine();
}

// The whole run of headings, tables and cells is one line of the page.
class cIndexBody {
 public:
  cIndexBody(cPageText& page, cSearchKeys* search) : m_Page(page), m_Search(search) {}

  void Add(const cNameEntry& e, bool first) {
    const std::string_view reading = ShownReading(e);
    const std::string_view initial = ReadingInitial(reading);
    if (initial != m_Initial) {
      if (!first) {
        CloseRow();
        m_Page << "</TABLE>" << "<BR>";
      }
      m_Initial = initial;
      m_Page << "<FONT COLOR=#0000FF><B>" << Escaped{ToFullWidth(m_Initial)} << "</B></FONT><BR>"
             << "<TABLE BORDER CELLPADDING=3>";
      m_Cells = 0;
    }
    if (m_Cells == 0) m_Page << "<TR>";
    m_Page << "<TD NOWAP";
    if (m_Search) m_Page << m_Search->Of(e.no);
    m_Page << "><FONT SIZE=-1>" << Escaped{ToFullWidth(reading)} << "</FONT><BR><A HREF="
           << Escaped{e.link} << ">" << Escaped{e.name} << "</A></TD>";
    if (++m_Cells == 6) {
      m_Page << "</TR>";
      m_Cells = 0;
    }
  }

  void Finish() {
    CloseRow();
    m_Page << "</TABLE>" << "<BR><HR>";
    m_Page.EndLine();
  }

 private:
  void CloseRow() {
    if (m_Cells > 0) m_Page << "</TR>";
  }

  cPageText& m_Page;
  cSearchKeys* m_Search;
  std::string m_Initial;
  int m_Cells = 0;
};

}  // namespace

std::string MakeIndexPage(int16_t count, const cNameList& lstName, cWindowServices& window, cSearchKeys* search) {
  window.SetLabel(ProgressLabel::Counter, "");
  window.SetLabel(ProgressLabel::Message, "索引ページを作成しています ...");
  cPageText page;
  WriteHead(page, search != nullptr);
  cIndexBody body(page, search);
  for (int i = 1; i <= count; ++i) {
    body.Add(lstName.List(i - 1), i == 1);
    window.SetProgress(i, count);
    window.DoEvents();
  }
  body.Finish();
  page << CommonFooter();
  page.EndLine();
  if (search) {
    page << SearchScript();
    page.EndLine();
  }
  page << "</BODY></HTML>";
  return page.Take();
}
