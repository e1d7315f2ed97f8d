#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "app/CommandLine.h"
#include "platform/Path.h"
#include "support/TestData.h"

namespace {

std::string Unblank(std::string text) {
  std::replace(text.begin(), text.end(), '_', ' ');
  return text == "-" ? "" : text;
}

// What a parsed command line says, in the columns of the table.
std::string Described(const cCommandLine& cmd) {
  static const char* const kActions[] = {"Run", "Help", "Version", "Error"};
  std::string flags = std::string(cmd.assumeYes ? "y" : "") + (cmd.noOpen ? "o" : "") + (cmd.noGui ? "g" : "") +
                      (cmd.download ? "d" : "") + (cmd.history ? "h" : "") + (cmd.extras ? "x" : "") +
                      (cmd.exportTable ? "e" : "");
  const std::string history =
      !cmd.history ? "" : cmd.download ? std::to_string(cmd.historyPeriods) : PathToUtf8(cmd.historyFolder);
  return std::string(kActions[static_cast<int>(cmd.action)]) + " " + (flags.empty() ? "-" : flags) + " " +
         (cmd.downloadPeriod.empty() ? "-" : cmd.downloadPeriod) + " " + (history.empty() ? "-" : history) + " " +
         (cmd.outputFolder ? cmd.outputFolder->string() : cmd.exportFile.empty() ? "-" : cmd.exportFile.string()) + " " +
         (cmd.action == cCommandLine::eAction::Error ? cmd.error : cmd.argText);
}

TEST(CommandLine, ReadsEveryRowAsExpected) {
  for (const auto& row : ReadRows("command_lines.txt")) {
    std::vector<std::string> words;
    std::istringstream in(row[0]);
    for (std::string word; std::getline(in, word, '|');) words.push_back(Unblank(word));
    const std::string expected =
        row[1] + " " + row[2] + " " + row[3] + " " + row[4] + " " + row[5] + " " + Unblank(row[6]);
    EXPECT_EQ(Described(ParseCommandLine(words)), expected) << row[0];
  }
}

}  // namespace
