#include <algorithm>
#include <array>
#include <tuple>

#include "report/ExtraPages.h"
#include "report/Format.h"
#include "sensyu/cSensyuFile.h"

namespace {

constexpr int kTop = 50;
// A rate or a mean over fewer starts says little: such racers are not ranked by it.
constexpr int16_t kLeastStarts = 30;

enum eFigure { Syoritu, FSyoritu, Rentairitu3, Ability, Yusyo, StartTiming, Yusyutu };

constexpr std::array<const char*, 7> kFigureTitle{"勝率", "2連対率", "3連対率", "能力指数",
                                                  "優勝回数", "平均スタートタイミング", "優出回数"};

double Value(const cRacerFigures& r, eFigure f) {
  switch (f) {
    case Syoritu: return r.syoritu;
    case FSyoritu: return r.fSyoritu;
    case Rentairitu3: return r.rentairitu3;
    case Ability: return r.ability;
    case Yusyo: return r.yusyoTimes;
    case StartTiming: return r.startTiming;
    case Yusyutu:
    default: return r.yusyutuTimes;
  }
}

std::string Text(const cRacerFigures& r, eFigure f) {
  switch (f) {
    case Syoritu: return r.syorituText;
    case FSyoritu: return r.fSyorituText;
    case Rentairitu3: return r.rentairitu3Text;
    case StartTiming: return r.startTimingText;
    case Ability: return PlainDigits(r.ability);
    case Yusyo: return PlainDigits(r.yusyoTimes);
    case Yusyutu:
    default: return PlainDigits(r.yusyutuTimes);
  }
}

// One ranked figure: ties go by `next`, the column to its right, highest first.
struct cRanking {
  eFigure figure, next;
  bool lowestFirst, needsStarts;
};

constexpr std::array<cRanking, 6> kRankings{{{Syoritu, FSyoritu, false, true},
                                             {FSyoritu, Rentairitu3, false, true},
                                             {Rentairitu3, Syoritu, false, true},
                                             {Ability, Syoritu, false, false},
                                             {Yusyo, Yusyutu, false, false},
                                             {StartTiming, Syoritu, true, true}}};

// All racers first, then each class.
constexpr std::array<const char*, 5> kGroups{"", "A1", "A2", "B1", "B2"};

std::string GroupName(const char* group) { return *group ? std::string(group) + "級" : "全選手"; }

std::string ListId(std::size_t ranking, const char* group) {
  return "r" + std::to_string(ranking) + "-" + (*group ? group : "all");
}

// A racer's place in one ranking: the figure (negated when highest comes
// first), the next figure negated, the racer number.
struct cRankKey {
  double figure, next;
  std::string_view no;
  const cRacerFigures* racer;
};

// The ranking's order over every racer it counts. The keys are taken once
// per racer rather than at every comparison.
std::vector<const cRacerFigures*> Ranked(const std::vector<cRacerFigures>& racers, const cRanking& k) {
  std::vector<cRankKey> keys;
  keys.reserve(racers.size());
  for (const cRacerFigures& r : racers) {
    if (k.needsStarts && r.syussoTimes < kLeastStarts) continue;
    const double figure = Value(r, k.figure);
    keys.push_back({k.lowestFirst ? figure : -figure, -Value(r, k.next), r.no, &r});
  }
  // Racer numbers are unique among the racers with a page: no two keys are equal.
  std::ranges::sort(keys, {}, [](const cRankKey& key) { return std::tie(key.figure, key.next, key.no); });
  std::vector<const cRacerFigures*> ranked;
  ranked.reserve(keys.size());
  for (const cRankKey& key : keys) ranked.push_back(key.racer);
  return ranked;
}

void WriteHead(cPageText& page, const cSensyuFile& s) {
  for (const char* line :
       {"<HTML><HEAD><META http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">"
        "<TITLE>ランキング</TITLE>",
        "<style type=\"text/css\">", "<!--", " a { text-decoration:none;}",
        " td { text-align:right;} td.name, td.text { text-align:left;}", "-->", "</style>",
        "</HEAD><BODY><H3>ランキング</H3>■<A HREF=ファン手帳.html>モーターボートファン手帳</A>"
        "　■<A HREF=索引.html>索引</A>　■<A HREF=出走表.html>出走表</A><BR><HR>"}) {
    page << line;
    page.EndLine();
  }
  page << Escaped{s.GetSensyuFileVersion()} << "（算出期間：" << Escaped{FormatYmd8(s.YmdStart())} << "～"
       << Escaped{FormatYmd8(s.YmdEnd())} << "）の上位" << PlainDigits(kTop) << "名です。<BR>";
  page.EndLine();
  page << "勝率・2連対率・3連対率・平均スタートタイミングの順位には、今期の出走が" << PlainDigits(kLeastStarts)
       << "回以上の選手だけが入ります。平均スタートタイミングは小さい順、ほかは大きい順です。<BR>";
  page.EndLine();
  page << "同じ値の選手は右隣の列の値が大きい順に、それも同じなら登録番号の順に並べています。"
          "<SPAN id=\"sorthint\" hidden>列の見出しをクリックすると、その列で並べ替えます。</SPAN><BR>";
  page.EndLine();
}

// A table of every list: figures down, groups across.
void WriteContents(cPageText& page) {
  page << "<TABLE BORDER CELLPADDING=3><TR><TH BGCOLOR=#99FFFF></TH>";
  for (const char* group : kGroups) page << "<TH BGCOLOR=#99FFFF>" << GroupName(group) << "</TH>";
  page << "</TR>";
  page.EndLine();
  for (std::size_t i = 0; i < kRankings.size(); ++i) {
    page << "<TR><TH BGCOLOR=#99FFFF>" << kFigureTitle[kRankings[i].figure] << "</TH>";
    for (const char* group : kGroups) {
      page << "<TD><A HREF=\"#" << ListId(i, group) << "\">" << GroupName(group) << "</A></TD>";
    }
    page << "</TR>";
    page.EndLine();
  }
  page << "</TABLE><HR>";
  page.EndLine();
}

// The cells of a racer's row that every list shares (number, name, class and
// branch), in code page 932 once for all the lists the racer appears in.
class cRowHeads {
 public:
  explicit cRowHeads(const std::vector<cRacerFigures>& racers) : m_Racers(racers), m_Heads(racers.size()) {}

  Cp932Bytes Of(const cRacerFigures& r) {
    std::string& head = m_Heads[static_cast<std::size_t>(&r - m_Racers.data())];
    if (head.empty()) {
      cPageText cells(256);
      cells << "<TD>" << Escaped{r.no} << "</TD><TD class=\"name\"><A HREF=\"" << Quoted{RacerPageUrl(r.no)} << "\">"
            << Escaped{r.name} << "</A></TD><TD class=\"text\">" << Escaped{r.classText}
            << "</TD><TD class=\"text\">" << Escaped{r.branch} << "</TD>";
      head = cells.Take();
    }
    return {head};
  }

 private:
  const std::vector<cRacerFigures>& m_Racers;
  std::vector<std::string> m_Heads;
};

void WriteRow(cPageText& page, int place, const cRacerFigures& r, const cRanking& k, cRowHeads& heads) {
  page << "<TR><TD>" << PlainDigits(place) << "</TD>" << heads.Of(r) << "<TD>" << Text(r, k.figure) << "</TD><TD>"
       << Text(r, k.next) << "</TD><TD>" << PlainDigits(r.syussoTimes) << "</TD></TR>";
  page.EndLine();
}

void WriteList(cPageText& page, std::size_t i, const char* group, const std::vector<const cRacerFigures*>& ranked,
               cRowHeads& heads) {
  const cRanking& k = kRankings[i];
  int place = 0;
  for (const cRacerFigures* r : ranked) {
    if (place == kTop) break;
    if (*group && r->classText != group) continue;
    if (place++ == 0) {
      page << "<TABLE BORDER CELLPADDING=3 class=\"ranking\" id=\"" << ListId(i, group) << "\"><CAPTION>"
           << kFigureTitle[k.figure] << "（" << GroupName(group) << "）</CAPTION><THEAD><TR>";
      for (const char* title : {"順位", "登録番号", "選手名", "級別", "支部", kFigureTitle[k.figure],
                                kFigureTitle[k.next], "出走"}) {
        page << "<TH BGCOLOR=#99FFFF>" << title << "</TH>";
      }
      page << "</TR></THEAD><TBODY>";
      page.EndLine();
    }
    WriteRow(page, place, *r, k, heads);
  }
  if (place == 0) {
    page << "<P id=\"" << ListId(i, group) << "\">" << kFigureTitle[k.figure] << "（" << GroupName(group)
         << "）：該当する選手はいません。</P>";
  } else {
    page << "</TBODY></TABLE><BR>";
  }
  page.EndLine();
}

// Sorts a ranking table by the column whose heading is clicked, again for the other way round.
constexpr const char* kSortScript =
    R"js(<script>(function(){var hint=document.getElementById("sorthint");if(hint)hint.hidden=false;)js"
    R"js([].forEach.call(document.querySelectorAll("table.ranking"),function(table){)js"
    R"js(var heads=table.tHead.rows[0].cells;[].forEach.call(heads,function(th,col){th.style.cursor="pointer";)js"
    R"js(th.addEventListener("click",function(){var body=table.tBodies[0],rows=[].slice.call(body.rows),)js"
    R"js(up=th.getAttribute("aria-sort")!="ascending";[].forEach.call(heads,function(h){)js"
    R"js(h.removeAttribute("aria-sort");});th.setAttribute("aria-sort",up?"ascending":"descending");)js"
    R"js(rows.sort(function(a,b){var x=a.cells[col].textContent,y=b.cells[col].textContent,)js"
    R"js(nx=parseFloat(x),ny=parseFloat(y),d=isNaN(nx)||isNaN(ny)?x.localeCompare(y,"ja"):nx-ny;)js"
    R"js(return up?d:-d;});rows.forEach(function(r){body.appendChild(r);});});});});})();</script>)js";

}  // namespace

std::string MakeRankingPage(const cSensyuFile& s, const std::vector<cRacerFigures>& racers) {
  cPageText page(384 * 1024);  // 30 lists of 50 racers are about 300 KB
  cRowHeads heads(racers);
  WriteHead(page, s);
  WriteContents(page);
  for (std::size_t i = 0; i < kRankings.size(); ++i) {
    page << "<H4>" << kFigureTitle[kRankings[i].figure] << "</H4>";
    page.EndLine();
    const std::vector<const cRacerFigures*> ranked = Ranked(racers, kRankings[i]);
    for (const char* group : kGroups) WriteList(page, i, group, ranked, heads);
  }
  page << "<HR>";
  page.EndLine();
  page << CommonFooter();
  page.EndLine();
  page << kSortScript;
  page.EndLine();
  page << "</BODY></HTML>";
  page.EndLine();
  return page.Take();
}
