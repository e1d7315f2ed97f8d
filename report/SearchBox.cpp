#include "report/ExtraPages.h"
#include "report/TrimBlanks.h"
#include "sensyu/cSensyuFile.h"

namespace {

// Filters the page's racer cells as one types: every word of the box must be
// part of the racer number, the reading, the name or the branch. Both sides
// are compared in one form: NFKC (half-width kana to full-width with their
// sound marks, full-width digits to ASCII), hiragana as katakana, without
// blanks. A row, and on the index a heading's group, with no racer left is
// hidden; the roster's table stays for its caption.
constexpr const char* kScript =
    R"js(<script>(function(){var box=document.getElementById("search");if(!box)return;)js"
    R"js(var input=box.getElementsByTagName("input")[0],shown=document.getElementById("found");)js"
    R"js(function key(t){return t.normalize("NFKC").replace(/[\u3041-\u3096]/g,function(c){)js"
    R"js(return String.fromCharCode(c.charCodeAt(0)+96);}).replace(/\s+/g,"").toLowerCase();})js"
    R"js(var cells=[].map.call(document.querySelectorAll("td[data-find]"),function(td){)js"
    R"js(return{td:td,fields:td.getAttribute("data-find").split("|").map(key)};});)js"
    R"js(function has(c,t){return c.fields.some(function(f){return f.indexOf(t)>=0;});})js"
    R"js(function group(table,show){for(var e=table.previousElementSibling;)js"
    R"js(e&&e.tagName!="TABLE"&&e.tagName!="HR";e=e.previousElementSibling)e.hidden=!show;table.hidden=!show;})js"
    R"js(function filter(){var terms=input.value.split(/\s+/).map(key).filter(Boolean),n=0;)js"
    R"js(cells.forEach(function(c){var show=terms.every(function(t){return has(c,t);});c.td.hidden=!show;)js"
    R"js(n+=show?1:0;});[].forEach.call(document.querySelectorAll("tr"),function(tr){)js"
    R"js(tr.hidden=!tr.querySelector("td[data-find]:not([hidden])");});)js"
    R"js([].forEach.call(document.querySelectorAll("table"),function(t){)js"
    R"js(if(!t.caption)group(t,!!t.querySelector("tr:not([hidden])"));});)js"
    R"js(shown.textContent=terms.length?n+" / "+cells.length:"";})js"
    R"js(input.addEventListener("input",filter);box.hidden=false;if(input.value)filter();})();</script>)js";

}  // namespace

std::string ExtraLinksAndSearch() {
  return std::string("　■<A HREF=") + kRankingPageName + ">ランキング</A>　■<A HREF=" + kRaceCardPageName +
         ">出走表</A><BR><DIV id=\"search\" hidden>検索 <INPUT type=\"search\" size=\"28\" "
         "placeholder=\"登録番号・名前・よみ・支部\" aria-label=\"選手を検索\" autocomplete=\"off\"> "
         "<SPAN id=\"found\"></SPAN></DIV>";
}

Cp932Bytes cSearchKeys::Of(const std::string& no) {
  const auto [at, added] = m_Keys.try_emplace(no);
  if (added) {
    cPageText key(128);
    key << " data-find=\"" << Quoted{no} << "|" << Quoted{TrimBlanks(s.NameKana(no))} << "|"
        << Quoted{s.NameKanji(no)} << "|" << Quoted{s.Branch(no)} << "\"";
    at->second = key.Take();
  }
  return {at->second};
}

std::string SearchScript() { return kScript; }
