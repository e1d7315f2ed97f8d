#include "app/term/cTerminalWindow.h"

#include <algorithm>
#include <istream>
#include <ostream>

namespace {

constexpr long kBarWidth = 20;
constexpr long kLeastBar = 5;  // a narrower bar tells nothing the count does not

// Message texts end their lines with CR LF; a terminal wants LF.
std::string TerminalText(const std::string& text) {
  std::string result;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') continue;
      result += '\n';
    } else {
      result += text[i];
    }
  }
  return result;
}

const char* IconMark(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Information: return "(i) ";
    case MsgIcon::Question: return "(?) ";
    case MsgIcon::Exclamation: return "(!) ";
    case MsgIcon::None: break;
  }
  return "";
}

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// A bar of `cells` cells such as "[#####-----]", filled in proportion done/count.
std::string ProgressBar(long done, long count, long cells) {
  const long filled = done * cells / count;
  std::string bar = "[";
  bar.append(static_cast<std::size_t>(filled), '#');
  bar.append(static_cast<std::size_t>(cells - filled), '-');
  return bar + "]";
}

// Bytes of the UTF-8 character at `at`; a byte that starts no whole character stands alone.
std::size_t CharLength(const std::string& text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF8 ? 4 : 1;
  if (at + length > text.size()) return 1;
  for (std::size_t i = 1; i < length; ++i)
    if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 1;
  return length;
}

// Terminal columns of one character. From U+1100 on (kana, kanji, full-width
// forms) every character counts two but the half-width forms: an odd sign
// counted wide costs a column, one counted narrow would wrap the line.
long CharColumns(const std::string& text, std::size_t at, std::size_t length) {
  if (length == 4) return 2;
  if (length < 3) return 1;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]) & 0x3Fu; };
  const unsigned code = (static_cast<unsigned char>(text[at]) & 0x0Fu) << 12 | byte(1) << 6 | byte(2);
  const bool halfWidth = (code >= 0xFF61 && code <= 0xFFDC) || (code >= 0xFFE8 && code <= 0xFFEE);
  return code < 0x1100 || halfWidth ? 1 : 2;
}

long Columns(const std::string& text) {
  long columns = 0;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = CharLength(text, at);
    columns += CharColumns(text, at, length);
    at += length;
  }
  return columns;
}

}  // namespace

cTerminalWindow::cTerminalWindow(std::istream& in, std::ostream& out, std::ostream& err, bool interactive,
                                 bool liveStatus, std::function<int()> columns)
    : m_In(in),
      m_Out(out),
      m_Err(err),
      m_Interactive(interactive),
      m_LiveStatus(liveStatus),
      m_Columns(std::move(columns)) {}

MsgResult cTerminalWindow::MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon,
                                  const std::string& caption) {
  EndStatus();
  // Every box with only an OK button tells a failure or a refusal.
  std::ostream& to = buttons == MsgButtons::OK ? m_Err : m_Out;
  to << "── " << IconMark(icon) << caption << " ──\n" << TerminalText(text) << "\n" << std::flush;
  if (buttons == MsgButtons::OK) return MsgResult::OK;
  return AskYesNo();
}

void cTerminalWindow::TellPassedOver(const std::string&, const std::vector<std::string>& lines) {
  EndStatus();
  for (const std::string& line : lines) m_Err << line << "\n";
  m_Err << std::flush;
}

MsgResult cTerminalWindow::AskYesNo() {
  m_Out << "[y/N] " << std::flush;
  if (!m_Interactive) {
    m_Out << "n (standard input is not a terminal: answering No)\n" << std::flush;
    return MsgResult::No;
  }
  std::string line;
  while (std::getline(m_In, line)) {
    const std::string answer = Trimmed(line);
    if (answer == "y" || answer == "Y" || answer == "yes" || answer == "はい") return MsgResult::Yes;
    if (answer.empty() || answer == "n" || answer == "N" || answer == "no" || answer == "いいえ")
      return MsgResult::No;
    m_Out << "Please answer y or n. [y/N] " << std::flush;
  }
  m_Out << "\n";
  return MsgResult::No;  // end of input: nobody said Yes
}

void cTerminalWindow::SetProgress(int done, int count) {
  m_Counter = std::to_string(done) + "/" + std::to_string(count);
  m_Done = done;
  m_Count = count > 0 && done >= 0 && done <= count ? count : 0;
  Update(false);
}

void cTerminalWindow::SetLabel(ProgressLabel label, const std::string& text) {
  const bool messageChanged = label == ProgressLabel::Message && text != m_Message;
  if (label == ProgressLabel::Counter) m_Count = 0;  // a text of its own is no count
  (label == ProgressLabel::Message ? m_Message : m_Counter) = text;
  Update(messageChanged);
}

// A terminal narrower than the status line would have the line wrap and
// each redraw overwrite the headings above it: until the next message,
// progress is printed as plain lines instead, as into a file.
void cTerminalWindow::Update(bool messageChanged) {
  if (!m_LiveStatus) return UpdatePlainStatus(messageChanged);
  if (messageChanged) m_Narrow = false;
  if (!m_Narrow && !StatusFits()) {
    const bool messageShown = m_StatusOpen;  // a line drawn in place fitted whole
    EndStatus();
    m_Narrow = true;
    messageChanged = messageChanged || !messageShown;
  }
  if (m_Narrow)
    UpdatePlainStatus(messageChanged);
  else
    UpdateLiveStatus(messageChanged);
}

void cTerminalWindow::DoEvents() { m_Out.flush(); }

std::string cTerminalWindow::CounterPart(long barCells) const {
  return m_Count > 0 && barCells > 0 ? ProgressBar(m_Done, m_Count, barCells) + " " + m_Counter : m_Counter;
}

std::string cTerminalWindow::Gap() const { return m_Message.empty() || m_Counter.empty() ? "" : "  "; }

// The counter as wide as it will read during this count: the bar beside it stays put.
std::string cTerminalWindow::WidestCounter() const {
  return m_Count > 0 ? std::to_string(m_Count) + "/" + std::to_string(m_Count) : m_Counter;
}

// The message and the counter fit one column short of the terminal's edge,
// where the line never wraps.
bool cTerminalWindow::StatusFits() const {
  const int columns = m_Columns();
  return columns <= 0 || Columns(m_Message + Gap() + WidestCounter()) <= columns - 1;
}

// Cells of a bar that fits after `text` on one line: kBarWidth where the
// width is unknown, none where fewer than kLeastBar fit.
long cTerminalWindow::BarCells(const std::string& text) const {
  const int columns = m_Columns();
  if (columns <= 0) return kBarWidth;
  const long cells = std::min(kBarWidth, columns - 1 - Columns(text) - 3);  // "[", "] "
  return cells >= kLeastBar ? cells : 0;
}

void cTerminalWindow::EndStatus() {
  if (!m_StatusOpen) return;
  m_Out << "\n" << std::flush;
  m_StatusOpen = false;
}

// Redraws the line when the message or the bar's percent changes, so a long
// run writes about a hundred updates rather than one per racer; a counter
// text of its own (the kilobytes of a download) whenever it reads otherwise.
void cTerminalWindow::UpdateLiveStatus(bool messageChanged) {
  const long percent = m_Count > 0 ? m_Done * 100 / m_Count : -1;
  if (!messageChanged && m_Count > 0 && percent == m_LastShown) return;
  m_LastShown = percent;
  const std::string line = m_Message + Gap() + CounterPart(BarCells(m_Message + Gap() + WidestCounter()));
  if (m_StatusOpen ? line == m_LastLine : line.empty()) return;
  m_LastLine = line;
  m_Out << "\r" << line << "\x1b[K";
  m_StatusOpen = true;
}

void cTerminalWindow::UpdatePlainStatus(bool messageChanged) {
  if (messageChanged) {
    m_LastShown = 0;
    if (!m_Message.empty()) m_Out << m_Message << "\n";
    return;
  }
  if (m_Count == 0) {
    m_LastShown = 0;  // a cleared counter starts a new count
    return;
  }
  if (m_Count != m_LastTotal) {
    m_LastTotal = m_Count;
    m_LastShown = 0;
  }
  const long tenth = m_Done * 10 / m_Count;
  if (tenth <= m_LastShown) return;
  m_LastShown = tenth;
  m_Out << "  " << CounterPart(BarCells("  " + WidestCounter())) << "\n";
}
