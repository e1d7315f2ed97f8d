#include "app/CommandLine.h"

#include <charconv>
#include <cstdio>

#include "app/FanDownload.h"
#include "platform/Path.h"
#include "sensyu/WindowServices.h"
#include "tobirex/Version.h"

namespace {

std::string JoinWords(const std::vector<std::string>& words, std::size_t first) {
  std::string text;
  for (std::size_t i = first; i < words.size(); ++i) {
    if (i > first) text += ' ';
    text += words[i];
  }
  return text;
}

// A Windows shell quotes a dropped path that holds blanks; the quotes are not part of the path.
std::string RemoveEnclosingQuotes(std::string text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
  return text;
}

cCommandLine Failed(std::string error) {
  cCommandLine cmd;
  cmd.action = cCommandLine::eAction::Error;
  cmd.error = std::move(error);
  return cmd;
}

bool IsOption(const std::string& word) { return word.size() >= 2 && word[0] == '-'; }

// The official site has two periods a year from 2001 to 2026.
constexpr int kMostHistoryPeriods = 52;

// --history=VALUE is a folder for a FILE and a number of periods for a download.
bool TakeHistoryValue(cCommandLine& cmd, const std::string& value) {
  if (!cmd.download) {
    cmd.historyFolder = PathFromUtf8(value);
    return true;
  }
  const char* end = value.data() + value.size();
  const auto [stop, ec] = std::from_chars(value.data(), end, cmd.historyPeriods);
  return ec == std::errc() && stop == end && cmd.historyPeriods >= 1 && cmd.historyPeriods <= kMostHistoryPeriods;
}

}  // namespace

cCommandLine ParseCommandLine(const std::vector<std::string>& words) {
  cCommandLine cmd;
  std::optional<std::string> historyValue;
  std::size_t i = 0;
  for (; i < words.size() && IsOption(words[i]); ++i) {
    const std::string& word = words[i];
    if (word == "--") {
      ++i;
      break;
    }
    if (word == "-y" || word == "--yes") {
      cmd.assumeYes = true;
    } else if (word == "--no-open") {
      cmd.noOpen = true;
    } else if (word == "--no-gui") {
      cmd.noGui = true;
    } else if (word == "-h" || word == "--help") {
      cmd.action = cCommandLine::eAction::Help;
      return cmd;
    } else if (word == "--version") {
      cmd.action = cCommandLine::eAction::Version;
      return cmd;
    } else if (word == "--download" || word.starts_with("--download=")) {
      cmd.download = true;
      cmd.downloadPeriod = word == "--download" ? "" : word.substr(11);
      if (word != "--download" && !IsValidPeriod(cmd.downloadPeriod))
        return Failed("option '--download' takes a period YYMM with MM 04 or 10, such as 2510");
    } else if (word == "--history" || word.starts_with("--history=")) {
      cmd.history = true;
      if (word != "--history") historyValue = word.substr(10);
      if (historyValue && historyValue->empty())
        return Failed("option '--history=' needs a folder, or with '--download' a number");
    } else if (word == "--extras") {
      cmd.extras = true;
    } else if (word == "--output" || word.starts_with("--output=")) {
      std::string folder;
      if (word == "--output") {
        if (i + 1 == words.size()) return Failed("option '--output' needs a folder");
        folder = words[++i];
      } else {
        folder = word.substr(9);
      }
      if (folder.empty()) return Failed("option '--output' needs a folder");
      cmd.outputFolder = PathFromUtf8(folder);
    } else if (word == "--export" || word.starts_with("--export=")) {
      cmd.exportTable = true;
      if (word == "--export=") return Failed("option '--export=' needs a file name");
      if (word != "--export") cmd.exportFile = PathFromUtf8(word.substr(9));
    } else {
      return Failed("unknown option '" + word + "'");
    }
  }
  cmd.argText = RemoveEnclosingQuotes(JoinWords(words, i));
  if (cmd.download && !cmd.argText.empty()) return Failed("option '--download' takes no FILE");
  if (cmd.exportTable && (cmd.outputFolder || cmd.extras))
    return Failed(std::string("option '--export' writes no pages: '") + (cmd.extras ? "--extras" : "--output") +
                  "' does not go with it");
  if (cmd.exportTable && !cmd.download && cmd.argText.empty())
    return Failed("option '--export' needs a FILE or '--download'");
  if (historyValue && !TakeHistoryValue(cmd, *historyValue))
    return Failed("option '--history' with '--download' takes a number of periods from 1 to 52, such as 8");
  return cmd;
}

std::string VersionText() {
  char minor[8];
  std::snprintf(minor, sizeof minor, "%02d", kVersionMinor);
  return std::string(kAppTitle) + " " + std::to_string(kVersionMajor) + "." + minor;
}

std::string HelpText() {
  return "Usage: tobirex [OPTIONS] [FILE]\n"
         "       tobirex [OPTIONS] --download[=YYMM] [--history[=N]]\n"
         "       tobirex [OPTIONS] --export[=TABLE] [--history[=DIR]] FILE\n"
         "Converts a fan handbook file (fan****.txt, or the official archive fan****.lzh\n"
         "that holds it) into HTML pages in the folder \"ファン手帳\" on the desktop and\n"
         "opens its roster page \"ファン手帳.html\". The old pages are replaced only once\n"
         "the new ones are complete. Without FILE it reopens the last roster page, or\n"
         "offers to download the newest file and convert it.\n"
         "\n"
         "Options (only before FILE, or before \"--\"):\n"
         "  -y, --yes      answer Yes to the question whether to convert the file (with\n"
         "                 --export, whether to replace TABLE)\n"
         "  --output DIR   write the pages into DIR instead of \"ファン手帳\" on the desktop;\n"
         "                 DIR must be new, empty, or a site this program wrote\n"
         "  --no-open      do not open the roster page at the end\n"
         "  --no-gui       use the terminal even when a display is available\n"
         "  --download[=YYMM]\n"
         "                 download the official archive fanYYMM.lzh (YYMM such as 2510;\n"
         "                 without it the newest period out by today, or the one before)\n"
         "                 into the download folder, then convert it; TOBIREX_DOWNLOAD_BASE\n"
         "                 names a mirror instead of the official site\n"
         "  --history[=DIR]\n"
         "                 add to each racer page its figures of the older periods, read\n"
         "                 from every fan file and archive in DIR (default: FILE's folder)\n"
         "                 of a period before FILE's; other files are named and skipped\n"
         "  --download --history[=N]\n"
         "                 download the N - 1 periods before the newest too (N from 1 to\n"
         "                 52, default 8; archives already there are used) and convert\n"
         "                 the newest with them\n"
         "  --extras       add a search box to the roster and the index, the rankings\n"
         "                 (ランキング.html), a chart per course on every racer page and\n"
         "                 a race card for six racers (出走表.html)\n"
         "  --export[=TABLE]\n"
         "                 instead of the pages, write every racer's figures into the file\n"
         "                 TABLE: a CSV table if it ends in .csv (UTF-8 with a byte-order\n"
         "                 mark, as Excel reads it), an SQLite database if it ends in\n"
         "                 .sqlite or .db; with --history, every period. Without TABLE:\n"
         "                 FILE's name ending in .csv (with --download, the archive's),\n"
         "                 beside it, then opened. An existing TABLE is replaced only\n"
         "                 after a Yes (or --yes)\n"
         "  -h, --help     show this help and exit\n"
         "  --version      show the version and exit\n"
         "\n"
         "FILE may be several words; they are joined with single blanks, and one pair\n"
         "of enclosing double quotes is removed.\n"
         "\n"
         "Exit status: 0 done (converted or exported, reopened, usage shown, declined, or\n"
         "the window closed during a download);\n"
         "1 file not found, not a fan file, download, conversion or export failed, or a\n"
         "TABLE refused (its extension, a missing folder);\n"
         "2 bad command line, or an output folder that holds other files.\n";
}
