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
  for (int i = 2; i <= 20; i += 2)  // 20 cells for 20 racers
    expected += "  [" + std::string(i, '#') + std::string(20 - i, '-') + "] " + std::to_string(i) + "/20\n";
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

// A line redrawn in place keeps within the terminal, its bar shrinking or
// gone; where the message and the count do not fit, the message stays on a
// line of its own and the count follows every tenth, as into a file.
TEST(TerminalWindow, KeepsTheHeadingsOnScreenInAnyWidth) {
  const struct {
    int columns;
    const char* message;
    int count;
    std::vector<std::string> counters;
    std::size_t lines;
    const char *first, *last;
  } rows[] = {
      {40, "変換しています", 200, {}, 1, "", "変換しています  [#############] 200/200"},
      {40, "ファイルを変換しています ...", 1600, {}, 1, "", "ファイルを変換しています ...  1600/1600"},
      {40, "索引ページを作成しています ...", 1600, {}, 11, "索引ページを作成しています ...",
       "  [####################] 1600/1600"},
      {40, "ダウンロードしています ...", 0, {"1234 KB / 67890 KB"}, 1, "", "ダウンロードしています ..."},
      {40, "ダウンロード", 0, {"1234 KB / 67890 KB", "123456789 KB / 987654321 KB"}, 1, "",
       "ダウンロード  1234 KB / 67890 KB"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.message);
    std::istringstream in;
    std::ostringstream out, err;
    cTerminalWindow window(in, out, err, true, true, [&] { return row.columns; });
    window.SetLabel(ProgressLabel::Message, row.message);
    for (int i = 1; i <= row.count; ++i) window.SetProgress(i, row.count);
    for (const std::string& counter : row.counters) window.SetLabel(ProgressLabel::Counter, counter);
    window.EndStatus();
    // What stays on the screen: "\r" starts the line again (each redraw clears the rest of it), "\n" ends it.
    std::string shown = out.str();
    for (std::size_t at; (at = shown.find("\x1b[K")) != std::string::npos;) shown.erase(at, 3);
    std::istringstream lines(shown);
    std::vector<std::string> screen;
    for (std::string line; std::getline(lines, line);) screen.push_back(line.substr(line.find_last_of('\r') + 1));
    ASSERT_EQ(screen.size(), row.lines) << out.str();
    if (*row.first != '\0') {
      EXPECT_EQ(screen.front(), row.first);
    }
    EXPECT_EQ(screen.back(), row.last);
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
