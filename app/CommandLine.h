#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// What the user asked for with `tobirex [OPTIONS] [FILE]`.
struct cCommandLine {
  enum class eAction { Run, Help, Version, Error };
  eAction action = eAction::Run;
  std::string argText;  // the fan file path: the words joined, one pair of enclosing quotes removed
  bool assumeYes = false;
  bool noOpen = false;
  bool noGui = false;
  bool download = false;       // --download: fetch the official archive and convert it
  std::string downloadPeriod;  // its YYMM; empty for the newest
  bool history = false;        // --history: each racer page also shows the older periods
  std::filesystem::path historyFolder;  // --history=DIR; empty for FILE's own folder
  int historyPeriods = 8;      // --download --history=N: the newest period and the N - 1 before it
  bool extras = false;         // --extras: search, rankings, course charts and a race card
  std::optional<std::filesystem::path> outputFolder;
  bool exportTable = false;              // --export: the fan data as a table file instead of the site
  std::filesystem::path exportFile;      // --export=FILE; empty for FILE's name with .csv, beside it
  std::string error;  // what was wrong, for eAction::Error
};

/// Reads the words after the program name; options count only before the file or "--".
cCommandLine ParseCommandLine(const std::vector<std::string>& words);
/// "Harumado 1.03".
std::string VersionText();
/// The --help text, ending with a line end.
std::string HelpText();
