#include "report/PageText.h"

namespace {

bool HoldsMarkup(std::string_view text) {
  bool found = false;
  for (char c : text) found |= (c == '&') | (c == '<') | (c == '>');  // no early exit: the loop vectorises
  return found;
}

}  // namespace

cPageText& cPageText::operator<<(Escaped piece) {
  std::string_view text = piece.text;
  if (!HoldsMarkup(text)) return *this << text;  // names and figures almost always
  std::size_t done = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '&' && c != '<' && c != '>') continue;
    *this << text.substr(done, i - done);
    m_Bytes.append(c == '&' ? "&amp;" : c == '<' ? "&lt;" : "&gt;");
    done = i + 1;
  }
  return *this << text.substr(done);
}
