#pragma once
#include <cstdint>
#include <string>

#include "report/PageText.h"

class cSearchKeys;
class cSensyuFile;

// The roster page "ファン手帳.html": six racers to a row, grouped by training
// term with alternating cell colours.
class cRosterPage {
 public:
  /// Head lines up to the table caption; with `search` (the run's search
  /// keys) the links to the extra pages and the search too.
  cRosterPage(const cSensyuFile& sensyu, int16_t count, cSearchKeys* search);
  /// Writes the racer's cell; `path` is the page link as the roster shows it.
  void AddCell(const std::string& no, const std::string& path);
  /// Closes the table and ends the page.
  const std::string& Finish();

 private:
  const cSensyuFile& s;
  cPageText m_Page;
  int m_Cells = 0;
  int16_t m_PrevYoseiKi = 0;
  const char* m_Colour;
  cSearchKeys* m_Search;
};
