#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "app/term/cTerminalWindow.h"

namespace {

// Into a pipe: each message on a line, a count every tenth, failures on standard error.
TEST(TerminalWindow, PrintsMessagesCountsAndFailures) {
  std::istringstream in("maybe\ny\n");
  std::ostringstream out, err;
  cTerminalWindow window(in, out, err, true, false);
  window.SetLabel(ProgressLabel::Message, "ファイルを変換しています ...");
  for (int i = 1; i <= 20; ++i) window.SetProgress(i, 20);
  window.SetLabel(ProgressLabel::Counter, "");
  window.MsgBox("失敗\r\n理由\rその二\r\n", MsgButtons::OK, MsgIcon::Exclamation, "Harumado");
  EXPECT_EQ(window.MsgBox("変換しますか。", MsgButtons::YesNo, MsgIcon::Question, "Harumado"), MsgResult::Yes);
  std::string expected = "ファイルを変換しています ...\n";
  for (int i = 2; i <= 20; i += 2) {
    const int filled = i;  // 20 cells for 20 racers
    expected += "  [" + std::string(filled, '#') + std::string(20 - filled, '-') + "] " + std::to_string(i) + "/20\n";
  }
  expected += "── (?) Harumado ──\n変換しますか。\n[y/N] Please answer y or n. [y/N] ";
  EXPECT_EQ(out.str(), expected);
  EXPECT_EQ(err.str(), "── (!) Harumado ──\n失敗\n理由\nその二\n\n");
}

// On a terminal one status line is redrawn in place, when the percent moves.
TEST(TerminalWindow, RedrawsOneStatusLineOnATerminal) {
  std::istringstream in;
  std::ostringstream out, err;
  cTerminalWindow window(in, out, err, true, true);
  window.SetLabel(ProgressLabel::Message, "変換中");
  for (int i = 1; i <= 400; ++i) window.SetProgress(i / 2, 200);
  window.SetLabel(ProgressLabel::Counter, "12 KB");
  window.EndStatus();
  const std::string shown = out.str();
  const std::string bar = "\r変換中  [" + std::string(20, '#') + "] 200/200\x1b[K";
  EXPECT_NE(shown.find(bar + "\r変換中  12 KB\x1b[K\n"), std::string::npos) << shown.substr(shown.size() - 120);
  EXPECT_EQ(std::count(shown.begin(), shown.end(), '\r'), 1 + 101 + 1);  // message, 0..100 %, then the text
}

// Columns of the test's texts: a kana or kanji takes two.
long Columns(const std::string& text) {
  long columns = 0;
  for (const unsigned char c : text) columns += c < 0x80 ? 1 : c >= 0xE0 ? 2 : 0;
  return columns;
}

// At 40 columns every redrawn line keeps within 39: the bar shrinks, then goes, then the message is cut.
TEST(TerminalWindow, StatusLineFitsANarrowTerminal) {
  const struct {
    const char* message;
    int count;
    const char* counter;
    const char* last;
  } rows[] = {{"変換しています", 200, "", "変換しています  [#############] 200/200"},
              {"ファイルを変換しています ...", 1600, "", "ファイルを変換しています ...  1600/1600"},
              {"索引ページを作成しています ...", 1600, "", "索引ページを作成しています  1600/1600"},
              {"ダウンロードしています ...", 0, "1234 KB / 67890 KB", "ダウンロードしてい  1234 KB / 67890 KB"}};
  for (const auto& row : rows) {
    std::istringstream in;
    std::ostringstream out, err;
    cTerminalWindow window(in, out, err, true, true, [] { return 40; });
    window.SetLabel(ProgressLabel::Message, row.message);
    for (int i = 1; i <= row.count; ++i) window.SetProgress(i, row.count);
    if (*row.counter != '\0') window.SetLabel(ProgressLabel::Counter, row.counter);
    std::istringstream shown(out.str());
    std::string line, last;
    while (std::getline(shown, line, '\r')) {
      if (line.empty()) continue;
      line.erase(line.find("\x1b[K"));
      EXPECT_LE(Columns(line), 39) << line;
      last = line;
    }
    EXPECT_EQ(last, row.last);
  }
}

// Yes only when someone says so; where nobody can answer, No rather than a wait.
TEST(TerminalWindow, AnswersYesOnlyWhenTold) {
  const struct {
    const char* typed;
    bool interactive;
    MsgResult answer;
  } rows[] = {{"yes\n", true, MsgResult::Yes},  {" Y \n", true, MsgResult::Yes}, {"はい\n", true, MsgResult::Yes},
              {"no\n", true, MsgResult::No},    {"N\n", true, MsgResult::No},   {"いいえ\n", true, MsgResult::No},
              {"\n", true, MsgResult::No},      {"", true, MsgResult::No},       {"y\n", false, MsgResult::No}};
  for (const auto& row : rows) {
    std::istringstream in(row.typed);
    std::ostringstream out, err;
    cTerminalWindow window(in, out, err, row.interactive, false);
    EXPECT_EQ(window.MsgBox("変換しますか。", MsgButtons::YesNo, MsgIcon::Question, "Harumado"), row.answer) << row.typed;
    EXPECT_EQ(out.str().find("Please answer"), std::string::npos) << row.typed;  // every row is an answer
  }
}

}  // namespace
