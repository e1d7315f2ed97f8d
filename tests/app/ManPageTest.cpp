// The options `tobirex --help` lists and the ones the manual page describes
// are the same, spelled alike ("--download[=YYMM]", "--output DIR").
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "app/CommandLine.h"

namespace {

// "  -y, --yes      answer ..." gives "-y, --yes": an option line up to the gap before its words.
std::set<std::string> HelpOptions() {
  std::set<std::string> options;
  std::istringstream help(HelpText());
  for (std::string line; std::getline(help, line);)
    if (line.starts_with("  -")) options.insert(line.substr(2, line.find("  ", 2) - 2));
  return options;
}

// The line after each .TP of OPTIONS without its font changes: "\fB\-y\fR, \fB\-\-yes\fR" gives "-y, --yes".
std::set<std::string> ManPageOptions() {
  std::ifstream page(MAN_PAGE);
  std::set<std::string> options;
  bool inOptions = false, tagNext = false;
  for (std::string line; std::getline(page, line);) {
    if (line.starts_with(".SH")) inOptions = line == ".SH OPTIONS";
    if (inOptions && tagNext)
      options.insert(std::regex_replace(std::regex_replace(line, std::regex(R"(\\f[BIRP])"), ""), std::regex(R"(\\-)"), "-"));
    tagNext = inOptions && line == ".TP";
  }
  return options;
}

TEST(ManPage, DescribesTheOptionsTheHelpLists) {
  const std::set<std::string> help = HelpOptions();
  EXPECT_TRUE(help.contains("-y, --yes") && help.contains("--output DIR")) << "the help's option lines were not found";
  EXPECT_EQ(ManPageOptions(), help);
}

}  // namespace
