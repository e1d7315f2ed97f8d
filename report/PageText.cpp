#include "report/PageText.h"

namespace {

// No early exit: the loop vectorises.
bool HoldsMarkup(std::string_view text, bool quotes) {
  bool found = false;
  for (char c : text) found |= (c == '&') | (c == '<') | (c == '>') | (quotes & (c == '"'));
  return found;
}

const char* Entity(char c) {
  switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    default: return nullptr;
  }
}

}  // namespace

cPageText& cPageText::AppendEscaped(std::string_view text, bool quotes) {
  if (!HoldsMarkup(text, quotes)) return *this << text;  // names and figures almost always
  std::size_t done = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char* entity = (text[i] != '"' || quotes) ? Entity(text[i]) : nullptr;
    if (!entity) continue;
    *this << text.substr(done, i - done);
    m_Bytes.append(entity);
    done = i + 1;
  }
  return *this << text.substr(done);
}

cPageText& cPageText::operator<<(Escaped piece) { return AppendEscaped(piece.text, false); }

cPageText& cPageText::operator<<(Quoted piece) { return AppendEscaped(piece.text, true); }
