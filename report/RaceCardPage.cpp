#include "report/ExtraPages.h"
#include "report/Format.h"
#include "report/MarkupRun.h"
#include "sensyu/cSensyuFile.h"

namespace {

// Rows of the card, each named for the script: the racer's own figures, then
// those of the course of the boat's number.
constexpr const char* kRacerRows[][2] = {
    {"no", "登録番号"}, {"name", "選手名"}, {"class", "級別"}, {"branch", "支部"},
    {"o0", "勝率"},     {"o1", "2連対率"},  {"o2", "能力指数"}, {"o3", "平均スタートタイミング"}};
constexpr const char* kCourseRows[][2] = {
    {"c0", "進入回数"}, {"c1", "2連対率"}, {"c2", "3連対率"}, {"c3", "スタートタイミング"}, {"c4", "１着"},
    {"c5", "２着"},     {"c6", "３着"},    {"c7", "４着"},    {"c8", "５着"},               {"c9", "６着"}};

// The boats' colours as a programme prints them; the heading names the boat, so colour is no need.
constexpr const char* kBoatStyles =
    " th.b1 { background:#ffffff; color:black;} th.b2 { background:#000000; color:white;}"
    " th.b3 { background:#d7001c; color:white;} th.b4 { background:#0057b0; color:white;}"
    " th.b5 { background:#ffe600; color:black;} th.b6 { background:#00873c; color:white;}";

// A JSON string in a script element: nothing in it can end the element.
void WriteJsonString(cPageText& page, std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  page << "\"";
  std::size_t done = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool control = static_cast<unsigned char>(c) < 0x20;
    if (!control && c != '"' && c != '\\' && c != '<' && c != '>' && c != '&') continue;
    page << text.substr(done, i - done);
    if (c == '"' || c == '\\') {
      const char escaped[] = {'\\', c};
      page << std::string_view(escaped, 2);
    } else {
      const char escaped[] = {'\\', 'u', '0', '0', kHex[(c >> 4) & 0xF], kHex[c & 0xF]};
      page << std::string_view(escaped, 6);
    }
    done = i + 1;
  }
  page << text.substr(done) << "\"";
}

// The figures of one course as one JSON string, blank-separated in the order of kCourseRows.
void WriteCourseFigures(cMarkupRun& m, const cCourseFigures& c) {
  m << ",\"" << c.starts << " ";
  m.Figure(c.fSyorituText) << " ";
  m.Figure(c.rentairitu3Text) << " ";
  m.Figure(c.startTimingText);
  for (int place : c.places) m << " " << place;
  m << "\"";
}

void WriteData(cPageText& page, const std::vector<std::string>& entries) {
  page << "<script type=\"application/json\" id=\"racers\">{";
  bool first = true;
  for (const std::string& entry : entries) {
    page << (first ? "" : ",") << Cp932Bytes{entry};
    page.EndLine();
    first = false;
  }
  page << "}</script>";
  page.EndLine();
}

void WriteRows(cPageText& page, const char* const (&rows)[][2], std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    page << "<TR data-f=\"" << rows[i][0] << "\"><TH BGCOLOR=#99FFFF>" << rows[i][1] << "</TH>";
    for (int boat = 0; boat < 6; ++boat) page << "<TD></TD>";
    page << "</TR>";
    page.EndLine();
  }
}

// Fills the card from the address (#4321,3999,...) and puts the numbers typed
// in into the address, so that the card can be bookmarked.
constexpr const char* kCardScript =
    R"js(<script>(function(){var data=JSON.parse(document.getElementById("racers").textContent),)js"
    R"js(own=Object.prototype.hasOwnProperty,table=document.getElementById("card"),)js"
    R"js(form=document.getElementById("boats"),inputs=form.elements.boat;)js"
    R"js(function norm(t){return t.normalize("NFKC").replace(/\s+/g,"");})js"
    R"js(function numbers(){var h=location.hash.slice(1);try{h=decodeURIComponent(h);}catch(e){})js"
    R"js(return h?norm(h).split(",").slice(0,6):[];})js"
    R"js(function cell(td,f,no,b){var r=own.call(data,no)?data[no]:null;if(f=="no"){td.textContent=no;return;})js"
    R"js(if(!r){if(f=="name")td.textContent=table.getAttribute("data-missing");return;})js"
    R"js(if(f=="name"){var a=document.createElement("a");a.href=r[0];a.textContent=r[1];td.appendChild(a);})js"
    R"js(else if(f=="class")td.textContent=r[2];else if(f=="branch")td.textContent=r[3];)js"
    R"js(else td.textContent=(f[0]=="o"?r[4]:r[5+b]).split(" ")[+f.slice(1)];})js"
    R"js(function show(){var list=numbers();for(var b=0;b<6;b++)inputs[b].value=list[b]||"";)js"
    R"js([].forEach.call(table.querySelectorAll("tr[data-f]"),function(tr){for(var b=0;b<6;b++){)js"
    R"js(var td=tr.cells[b+1];td.textContent="";if(list[b])cell(td,tr.getAttribute("data-f"),list[b],b);}});})js"
    R"js(form.addEventListener("submit",function(e){e.preventDefault();)js"
    R"js(var list=[].map.call(inputs,function(i){return norm(i.value);});)js"
    R"js(while(list.length&&!list[list.length-1])list.pop();var h="#"+list.join(",");)js"
    R"js(if(location.hash==h)show();else location.hash=h;});window.addEventListener("hashchange",show);show();)js"
    R"js(})();</script>)js";

void WriteHead(cPageText& page, const cSensyuFile& s) {
  page << "<HTML><HEAD><META http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">"
          "<TITLE>出走表</TITLE>";
  page.EndLine();
  for (const char* line : {"<style type=\"text/css\">", "<!--", " a { text-decoration:none;}",
                           " td { text-align:center;}", kBoatStyles, "-->", "</style>",
                           "</HEAD><BODY><H3>出走表</H3>■<A HREF=ファン手帳.html>モーターボートファン手帳</A>"
                           "　■<A HREF=索引.html>索引</A>　■<A HREF=ランキング.html>ランキング</A><BR><HR>"}) {
    page << line;
    page.EndLine();
  }
  page << Escaped{s.GetSensyuFileVersion()} << "（算出期間：" << Escaped{FormatYmd8(s.YmdStart())} << "～"
       << Escaped{FormatYmd8(s.YmdEnd())} << "）の成績です。1号艇から6号艇の登録番号を入れて「表示」を押すと、"
          "6人の成績と、それぞれ艇番と同じコースの成績を並べます。"
          "アドレスの後ろに #4321,3999,… と付けても表示でき、そのままブックマークできます。<BR>";
  page.EndLine();
}

}  // namespace

// Racer number: page, name, class, branch, the four figures of kRacerRows,
// then one text per course.
std::string RaceCardEntry(const cRacerFigures& r, const cCourses& courses) {
  cPageText entry(512);
  WriteJsonString(entry, r.no);
  entry << ":[";
  for (const std::string& text : {RacerPageUrl(r.no), r.name, r.classText, r.branch}) {
    WriteJsonString(entry, text);
    entry << ",";
  }
  cMarkupRun m(entry);
  m << "\"";
  m.Figure(r.syorituText) << " ";
  m.Figure(r.fSyorituText) << " " << r.ability << " ";
  m.Figure(r.startTimingText) << "\"";
  for (const cCourseFigures& c : courses) WriteCourseFigures(m, c);
  m << "]";
  m.Flush();
  return entry.Take();
}

std::string MakeRaceCardPage(const cSensyuFile& s, const std::vector<std::string>& entries) {
  std::size_t data = 0;
  for (const std::string& entry : entries) data += entry.size() + 3;
  cPageText page(data + 8192);  // the racers' data and about 7 KB of form, table and script
  WriteHead(page, s);
  page << "<FORM id=\"boats\">";
  for (int boat = 1; boat <= 6; ++boat) {
    page << "<LABEL>" << PlainDigits(boat) << "号艇 <INPUT name=\"boat\" size=\"5\" inputmode=\"numeric\"></LABEL> ";
  }
  page << "<INPUT type=\"submit\" value=\"表示\"></FORM>";
  page.EndLine();
  page << "<NOSCRIPT><P>出走表を表示するには、ブラウザーで JavaScript を有効にしてください。</P></NOSCRIPT>";
  page.EndLine();
  page << "<TABLE BORDER CELLPADDING=3 id=\"card\" data-missing=\"見つかりません\"><TR><TH BGCOLOR=#99FFFF></TH>";
  for (int boat = 1; boat <= 6; ++boat) {
    page << "<TH class=\"b" << PlainDigits(boat) << "\">" << PlainDigits(boat) << "号艇</TH>";
  }
  page << "</TR>";
  page.EndLine();
  WriteRows(page, kRacerRows, std::size(kRacerRows));
  page << "<TR><TH BGCOLOR=#99FFFF>艇番のコース</TH>";
  for (int course = 1; course <= 6; ++course) page << "<TD>" << PlainDigits(course) << "コース</TD>";
  page << "</TR>";
  page.EndLine();
  WriteRows(page, kCourseRows, std::size(kCourseRows));
  page << "</TABLE><BR><HR>";
  page.EndLine();
  page << CommonFooter();
  page.EndLine();
  WriteData(page, entries);
  page << kCardScript;
  page.EndLine();
  page << "</BODY></HTML>";
  page.EndLine();
  return page.Take();
}
