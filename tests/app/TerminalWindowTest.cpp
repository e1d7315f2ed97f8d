#include "app/term/cTerminalWindow.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

int Count(const std::string& text, const std::string& piece) {
  int n = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

// Drives the labels as the conversion run and the index page do.
void RunLabels(cWindowServices& window, int count) {
  window.SetLabel(ProgressLabel::Message, "");
  window.SetLabel(ProgressLabel::Counter, "");
  window.SetLabel(ProgressLabel::Message, "ファイルを変換しています ...");
  for (int i = 1; i <= count; ++i) {
    window.SetLabel(ProgressLabel::Counter, std::to_string(i) + "/" + std::to_string(count));
    window.DoEvents();
  }
  window.SetLabel(ProgressLabel::Counter, "");
  window.SetLabel(ProgressLabel::Message, "索引ページを作成しています ...");
  for (int i = 1; i <= count; ++i) window.SetLabel(ProgressLabel::Counter, std::to_string(i) + "/" + std::to_string(count));
}

TEST(TerminalMsgBox, PrintsCaptionAndTextWithTerminalLineEnds) {
  std::istringstream in;
  std::ostringstream out;
  cTerminalWindow window(in, out, false, false);
  EXPECT_EQ(window.MsgBox("一行目\r\n\r\n/tmp/no such.txt", MsgButtons::OK, MsgIcon::None, "Harumado"), MsgResult::OK);
  EXPECT_EQ(out.str(), "── Harumado ──\n一行目\n\n/tmp/no such.txt\n");
  out.str("");
  window.MsgBox("壊れています。", MsgButtons::OK, MsgIcon::Exclamation, "選手ファイル読み取りエラー");
  EXPECT_EQ(out.str(), "── (!) 選手ファイル読み取りエラー ──\n壊れています。\n");
}

TEST(TerminalMsgBox, AnswersNoWithoutReadingWhenInputIsNotATerminal) {
  std::istringstream in("y\n");
  std::ostringstream out;
  cTerminalWindow window(in, out, false, false);
  EXPECT_EQ(window.MsgBox("変換しますか。", MsgButtons::YesNo, MsgIcon::Question, "Harumado"), MsgResult::No);
  EXPECT_EQ(out.str(), "── (?) Harumado ──\n変換しますか。\n[y/N] n (standard input is not a terminal: answering No)\n");
  std::string unread;
  std::getline(in, unread);
  EXPECT_EQ(unread, "y");
}

TEST(TerminalMsgBox, ReadsTheAnswerFromAnInteractiveTerminal) {
  struct Row {
    const char* typed;
    MsgResult expected;
    int prompts;
  };
  const Row rows[] = {{"y\n", MsgResult::Yes, 1},       {"yes\n", MsgResult::Yes, 1},
                      {" Y \n", MsgResult::Yes, 1},     {"はい\n", MsgResult::Yes, 1},
                      {"n\n", MsgResult::No, 1},        {"\n", MsgResult::No, 1},
                      {"いいえ\n", MsgResult::No, 1},   {"maybe\ny\n", MsgResult::Yes, 2},
                      {"", MsgResult::No, 1},           {"maybe", MsgResult::No, 2}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.typed);
    std::istringstream in(r.typed);
    std::ostringstream out;
    cTerminalWindow window(in, out, true, true);
    EXPECT_EQ(window.MsgBox("変換しますか。", MsgButtons::YesNo, MsgIcon::Question, "Harumado"), r.expected);
    EXPECT_EQ(Count(out.str(), "[y/N] "), r.prompts);
  }
}

TEST(TerminalStatus, PlainOutputPrintsMessagesAndEveryTenthOfTheCount) {
  std::istringstream in;
  std::ostringstream out;
  cTerminalWindow window(in, out, false, false);
  RunLabels(window, 1600);
  const std::string text = out.str();
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_EQ(Count(text, "\n"), 22);
  EXPECT_EQ(text.find("ファイルを変換しています ...\n  [##------------------] 160/1600\n"), 0u);
  EXPECT_EQ(Count(text, "  [####################] 1600/1600\n"), 2);
  EXPECT_NE(text.find("1600/1600\n索引ページを作成しています ...\n  [##"), std::string::npos);
  window.EndStatus();
  EXPECT_EQ(out.str(), text);  // plain lines are already ended
}

TEST(TerminalStatus, PlainOutputPrintsEveryStepOfAShortCount) {
  std::istringstream in;
  std::ostringstream out;
  cTerminalWindow window(in, out, false, false);
  RunLabels(window, 3);
  EXPECT_EQ(Count(out.str(), "/3\n"), 6);
}

TEST(TerminalStatus, LiveLineIsRedrawnInPlaceAboutOncePerPercent) {
  std::istringstream in;
  std::ostringstream out;
  cTerminalWindow window(in, out, false, true);
  RunLabels(window, 1600);
  const std::string text = out.str();
  EXPECT_EQ(text.find('\n'), std::string::npos);
  const int redraws = Count(text, "\r");
  EXPECT_GE(redraws, 200);
  EXPECT_LE(redraws, 210);
  EXPECT_EQ(Count(text, "\r"), Count(text, "\x1b[K"));
  const std::string last = "\r索引ページを作成しています ...  [####################] 1600/1600\x1b[K";
  EXPECT_EQ(text.substr(text.size() - last.size()), last);
  window.EndStatus();
  window.EndStatus();
  EXPECT_EQ(out.str(), text + "\n");
}

TEST(TerminalStatus, MessageBoxStartsOnItsOwnLineAfterALiveStatus) {
  std::istringstream in;
  std::ostringstream out;
  cTerminalWindow window(in, out, false, true);
  window.SetLabel(ProgressLabel::Message, "ファイルを変換しています ...");
  window.MsgBox("読めません。", MsgButtons::OK, MsgIcon::Exclamation, "Harumado");
  EXPECT_EQ(out.str(), "\rファイルを変換しています ...\x1b[K\n── (!) Harumado ──\n読めません。\n");
}

TEST(ParseCounter, ReadsOnlyACountOfAKnownTotal) {
  struct Row {
    const char* text;
    long done, total;  // total 0: not a counter
  };
  const Row rows[] = {{"15/1600", 15, 1600}, {"0/3", 0, 3},  {"1600/1600", 1600, 1600}, {"", 0, 0},
                      {"15", 0, 0},          {"/5", 0, 0},   {"5/", 0, 0},              {"1/0", 0, 0},
                      {"6/5", 0, 0},         {"-1/5", 0, 0}, {" 1/5", 0, 0},            {"1/5 ", 0, 0}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    const auto counter = ParseCounter(r.text);
    ASSERT_EQ(counter.has_value(), r.total != 0);
    if (counter) {
      EXPECT_EQ(counter->done, r.done);
      EXPECT_EQ(counter->total, r.total);
    }
  }
}

TEST(ProgressBar, FillsInProportionRoundingDown) {
  EXPECT_EQ(ProgressBar({0, 1600}, 10), "[----------]");
  EXPECT_EQ(ProgressBar({159, 1600}, 10), "[----------]");
  EXPECT_EQ(ProgressBar({160, 1600}, 10), "[#---------]");
  EXPECT_EQ(ProgressBar({1599, 1600}, 10), "[#########-]");
  EXPECT_EQ(ProgressBar({1600, 1600}, 10), "[##########]");
  EXPECT_EQ(ProgressBar({32766, 32767}, 20), "[###################-]");
}

}  // namespace
