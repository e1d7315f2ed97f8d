#pragma once
#include <cstdint>
#include <string>

class cSensyuFile;

/// A racer's figures for the period: read from the racer data and formatted
/// once for the racer page, the rankings and the race card alike.
struct cRacerFigures {
  std::string no, name, classText, branch;
  float syoritu = 0, fSyoritu = 0, rentairitu3 = 0, startTiming = 0;
  // As the pages print them.
  std::string syorituText, fSyorituText, rentairitu3Text, startTimingText, stratHatujyunText;
  int16_t ability = 0, abilityOld = 0, oneFinishTimes = 0, twoFinishTimes = 0, syussoTimes = 0, yusyutuTimes = 0,
          yusyoTimes = 0, fTimes = 0, lTimes = 0;
};

/// Racer `no`'s figures for the period.
cRacerFigures RacerFiguresOf(const cSensyuFile& sensyu, const std::string& no);
