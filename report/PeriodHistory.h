#pragma once
#include <compare>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "sensyu/WindowServices.h"
#include "sensyu/cSensyuFile.h"

// A racer's record across periods: the figures of older fan files, kept per
// racer and period, for the "期別成績" section of the racer pages. Each older
// file is loaded, its few figures taken and the file let go before the next.

/// A half-year period as the records carry it: year (Nen) and half (Ki: 1 前期, 2 後期).
struct cFanPeriod {
  int16_t nen = 0;
  int16_t ki = 0;
  auto operator<=>(const cFanPeriod&) const = default;
};

/// One racer's figures of one period, as the period table shows them.
struct cPeriodFigures {
  std::string classText;  // 級別 as read, "A1"
  float syoritu = 0, fSyoritu = 0, startTiming = 0;
  int16_t syussoTimes = 0, oneFinishTimes = 0, twoFinishTimes = 0, yusyutuTimes = 0, yusyoTimes = 0, ability = 0;
};

/// A racer's row of an older period: the period's place in cPeriodHistory::Periods() and the figures.
struct cPeriodRow {
  uint16_t period = 0;
  cPeriodFigures figures;
};

struct cHistoryPeriod {
  cFanPeriod period;
  std::string label;  // "2025年前期", as cSensyuFile::GetSensyuFileVersion forms it
  std::filesystem::path file;
};

enum class eHistorySkip { NotFanFile, Unreadable, DamagedArchive, LoadFailed, NoPeriod, NotOlder, DuplicatePeriod };

struct cSkippedFile {
  std::filesystem::path file;
  eHistorySkip why = eHistorySkip::NotFanFile;
  std::string reason;  // short, for the user
};

class cPeriodHistory {
 public:
  /// The older periods loaded, newest first.
  const std::vector<cHistoryPeriod>& Periods() const { return m_Periods; }
  /// Racer `no`'s rows of the older periods, newest first; empty for a racer found in none.
  std::span<const cPeriodRow> Rows(const std::string& no) const;
  /// The candidates that were not taken, in candidate order.
  const std::vector<cSkippedFile>& Skipped() const { return m_Skipped; }

 private:
  friend cPeriodHistory LoadPeriodHistory(const std::vector<std::filesystem::path>&, cFanPeriod, cWindowServices&);
  std::vector<cHistoryPeriod> m_Periods;
  std::unordered_map<std::string, std::vector<cPeriodRow>> m_Rows;
  std::vector<cSkippedFile> m_Skipped;
};

/// The racer numbers of a fan file's lines in file order, as the conversion
/// asks the loader for them; one empty number (matching nothing) when there is none.
cSensyuNoList NumericKeys(std::string_view bytes);
/// The figures of racer `no` in a loaded file.
cPeriodFigures PeriodFiguresOf(const cSensyuFile& sensyu, const std::string& no);
/// The period of a fan file's bytes as its conversion reads it (Nen and Ki 0 when none).
cFanPeriod FanFilePeriod(std::string_view bytes);

struct cHistoryFiles {
  std::vector<std::filesystem::path> files;
  int errorNumber = 0;  // why the folder could not be listed (for ErrorText); 0 when listed
};

/// Every regular file in `folder` (links followed) but `except`, the file
/// being converted, in name order: the content decides which are fan files.
cHistoryFiles ListHistoryFiles(const std::filesystem::path& folder, const std::filesystem::path& except);
/// Loads every candidate (fan file or archive, read as ReadFanInput reads the
/// input) whose period is older than `current`; of two files of one period the
/// first is taken. Never fails: what is not taken is listed in Skipped().
/// Counts the files on the window's labels; boxes are never shown.
cPeriodHistory LoadPeriodHistory(const std::vector<std::filesystem::path>& candidates, cFanPeriod current,
                                 cWindowServices& window);
/// "fan2504.lzh: アーカイブが壊れているか、途中で切れています"
std::string SkippedLine(const cSkippedFile& skipped);
/// Every skipped file in one box's text: a heading, then up to ten lines.
std::string SkippedSummary(const std::vector<cSkippedFile>& skipped);
