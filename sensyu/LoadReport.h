#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sensyu/RecordLayout.h"

// The records a load could read only in part, or passed over. The pages are
// made from what was read; the user is told what was not.

enum class eRecordDamage {
  Cut,              // the line ends before its layout does
  NotANumber,       // a number field holds letters, or nothing
  RepeatedNumber,   // a racer number an earlier record already carries
  NotARacerNumber,  // a line as long as a record that begins with no racer number
};

struct cDamagedRecord {
  int32_t line = 0;      // the record's line in the file, from 1, blank lines counted
  std::string sensyuNo;  // the line's first four characters
  eRecordDamage damage = eRecordDamage::Cut;
  const cRecordField* field = nullptr;  // Cut: the field the line ends in or before; else the field that stopped it
  std::size_t length = 0;               // Cut: the line's length in bytes
  std::string fieldText;                // NotANumber: the field as read
  int32_t usedLine = 0;                 // RepeatedNumber: the line whose record was used
};

/// "ファン手帳ファイルの 3 行目（登録番号 1003）: 年齢の欄が数字ではありません（「ab」）。…"
std::string DamagedRecordLine(const cDamagedRecord& record);
/// One line per record, at most ten, then "ほか N 件" for the rest.
std::vector<std::string> LoadReportLines(const std::vector<cDamagedRecord>& records);
/// The text of the box that tells them: a heading, then the lines.
std::string LoadReportText(const std::vector<cDamagedRecord>& records);
