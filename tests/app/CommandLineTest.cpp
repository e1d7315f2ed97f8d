#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

using eAction = cCommandLine::eAction;

TEST(ParseCommandLine, OptionsBeforeTheFileAndTheFileTextAfter) {
  struct Row {
    std::vector<std::string> words;
    std::string argText;
    bool yes, noOpen, noGui;
    const char* output;
  };
  const Row rows[] = {
      {{}, "", false, false, false, nullptr},
      {{"fan2510.txt"}, "fan2510.txt", false, false, false, nullptr},
      {{"-y", "--no-open", "--no-gui", "fan.txt"}, "fan.txt", true, true, true, nullptr},
      {{"--yes", "--output", "out dir", "fan.txt"}, "fan.txt", true, false, false, "out dir"},
      {{"--output=site", "fan.txt"}, "fan.txt", false, false, false, "site"},
      {{"--output", "a", "--output", "b"}, "", false, false, false, "b"},
      {{"/home/u/My", "Files/fan.txt"}, "/home/u/My Files/fan.txt", false, false, false, nullptr},
      {{"\"/tmp/a b/fan.txt\""}, "/tmp/a b/fan.txt", false, false, false, nullptr},
      {{"\"/tmp/a", "b/fan.txt\""}, "/tmp/a b/fan.txt", false, false, false, nullptr},
      {{"\"\"x\"\""}, "\"x\"", false, false, false, nullptr},
      {{"\"half"}, "\"half", false, false, false, nullptr},
      {{"\""}, "\"", false, false, false, nullptr},
      {{"\"\""}, "", false, false, false, nullptr},
      {{"fan.txt", "--yes"}, "fan.txt --yes", false, false, false, nullptr},
      {{"--", "--yes"}, "--yes", false, false, false, nullptr},
      {{"-y", "--", "-", "x"}, "- x", true, false, false, nullptr},
      {{"-"}, "-", false, false, false, nullptr},
      {{"fan.txt", "--help"}, "fan.txt --help", false, false, false, nullptr},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::PrintToString(r.words));
    const cCommandLine cmd = ParseCommandLine(r.words);
    EXPECT_EQ(cmd.action, eAction::Run);
    EXPECT_EQ(cmd.argText, r.argText);
    EXPECT_EQ(cmd.assumeYes, r.yes);
    EXPECT_EQ(cmd.noOpen, r.noOpen);
    EXPECT_EQ(cmd.noGui, r.noGui);
    ASSERT_EQ(cmd.outputFolder.has_value(), r.output != nullptr);
    if (r.output) {
      EXPECT_EQ(*cmd.outputFolder, std::filesystem::path(r.output));
    }
  }
}

TEST(ParseCommandLine, HelpVersionAndBadOptions) {
  struct Row {
    std::vector<std::string> words;
    eAction action;
    std::string error;
  };
  const Row rows[] = {
      {{"-h"}, eAction::Help, ""},
      {{"--help"}, eAction::Help, ""},
      {{"-y", "--help", "fan.txt"}, eAction::Help, ""},
      {{"--version"}, eAction::Version, ""},
      {{"--bogus", "fan.txt"}, eAction::Error, "unknown option '--bogus'"},
      {{"-x"}, eAction::Error, "unknown option '-x'"},
      {{"--yes=no"}, eAction::Error, "unknown option '--yes=no'"},
      {{"--output"}, eAction::Error, "option '--output' needs a folder"},
      {{"--output="}, eAction::Error, "option '--output' needs a folder"},
      {{"--output", "", "fan.txt"}, eAction::Error, "option '--output' needs a folder"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::PrintToString(r.words));
    const cCommandLine cmd = ParseCommandLine(r.words);
    EXPECT_EQ(cmd.action, r.action);
    EXPECT_EQ(cmd.error, r.error);
  }
}

TEST(VersionText, NamesTitleAndTwoDigitMinor) { EXPECT_EQ(VersionText(), "Harumado 1.03"); }

}  // namespace
