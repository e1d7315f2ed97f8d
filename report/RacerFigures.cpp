#include "report/RacerFigures.h"

#include "report/Format.h"
#include "sensyu/cSensyuFile.h"

cRacerFigures RacerFiguresOf(const cSensyuFile& s, const std::string& no) {
  cRacerFigures r;
  r.no = no;
  r.name = s.NameKanji(no);
  r.classText = s.Class(no);
  r.branch = s.Branch(no);
  r.syoritu = s.Syoritu(no);
  r.fSyoritu = s.FSyoritu(no);
  r.rentairitu3 = s.Rentairitu3(no);
  r.startTiming = s.StartTiming(no);
  r.syorituText = Format00(r.syoritu);
  r.fSyorituText = Format00(r.fSyoritu);
  r.rentairitu3Text = Format00(r.rentairitu3);
  r.startTimingText = Format00(r.startTiming);
  r.stratHatujyunText = Format0(s.StratHatujyun(no));
  r.ability = s.Ability(no);
  r.abilityOld = s.abilityOld(no);
  r.oneFinishTimes = s.OneFinishTimes(no);
  r.twoFinishTimes = s.TwoFinishTimes(no);
  r.syussoTimes = s.SyussoTimes(no);
  r.yusyutuTimes = s.YusyutuTimes(no);
  r.yusyoTimes = s.YusyoTimes(no);
  r.fTimes = s.FTimes(no);
  r.lTimes = s.LTimes(no);
  return r;
}
