#include "app/term/cTerminalWindow.h"

#include <istream>
#include <ostream>

namespace {

constexpr int kBarWidth = 20;

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

// A bar of kBarWidth cells such as "[#####-----]", filled in proportion done/count.
std::string ProgressBar(long done, long count) {
  const long filled = done * kBarWidth / count;
  std::string bar = "[";
  bar.append(static_cast<std::size_t>(filled), '#');
  bar.append(static_cast<std::size_t>(kBarWidth - filled), '-');
  return bar + "]";
}

}  // namespace

cTerminalWindow::cTerminalWindow(std::istream& in, std::ostream& out, std::ostream& err, bool interactive,
                                 bool liveStatus)
    : m_In(in), m_Out(out), m_Err(err), m_Interactive(interactive), m_LiveStatus(liveStatus) {}

MsgResult cTerminalWindow::MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon,
                                  const std::string& caption) {
  EndStatus();
  // Every box with only an OK button tells a failure or a refusal.
  std::ostream& to = buttons == MsgButtons::OK ? m_Err : m_Out;
  to << "── " << IconMark(icon) << caption << " ──\n" << TerminalText(text) << "\n" << std::flush;
  if (buttons == MsgButtons::OK) return MsgResult::OK;
  return AskYesNo();
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

void cTerminalWindow::Update(bool messageChanged) {
  if (m_LiveStatus)
    UpdateLiveStatus(messageChanged);
  else
    UpdatePlainStatus(messageChanged);
}

void cTerminalWindow::DoEvents() { m_Out.flush(); }

std::string cTerminalWindow::CounterPart() const {
  return m_Count > 0 ? ProgressBar(m_Done, m_Count) + " " + m_Counter : m_Counter;
}

void cTerminalWindow::EndStatus() {
  if (!m_StatusOpen) return;
  m_Out << "\n" << std::flush;
  m_StatusOpen = false;
}

// Redraws the line when the message or the bar's percent changes, so a long
// run writes about a hundred updates rather than one per racer.
void cTerminalWindow::UpdateLiveStatus(bool messageChanged) {
  const long percent = m_Count > 0 ? m_Done * 100 / m_Count : -1;
  if (!messageChanged && percent == m_LastShown && !m_Counter.empty()) return;
  m_LastShown = percent;
  std::string line = m_Message;
  if (!m_Counter.empty()) line += (line.empty() ? "" : "  ") + CounterPart();
  if (line.empty() && !m_StatusOpen) return;
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
  m_Out << "  " << CounterPart() << "\n";
}
