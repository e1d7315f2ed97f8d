#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>
#include <filesystem>
#include <unordered_map>

#include "sensyu/Cp932.h"
#include "sensyu/FanLines.h"
#include "sensyu/FieldConvert.h"
#include "sensyu/RunError.h"
#include "sensyu/UsableCores.h"
#include "sensyu/cSensyuFile.h"

// Loading the fan handbook file: reading its lines, matching them to the
// requested racers and cutting each record into the slot's members.

namespace {

constexpr const char* kLoadErrorCaption = "選手ファイル読み取りエラー";

// Line counts, slot numbers and list positions are 16-bit: the reading pass
// still reads line 32,767, then its counter steps past the limit.
constexpr std::size_t kMaxCountedLines = 32767;
constexpr std::size_t kMaxSlots = 32766;

// Every non-blank line in file order, wherever blank lines stand.
std::vector<std::string_view> NonBlankLines(std::string_view bytes) {
  std::vector<std::string_view> lines = SplitLines(bytes);
  std::erase_if(lines, IsBlankLine);
  return lines;
}

// Racer number of each line -> the first line that carries it.
std::unordered_map<std::string, std::size_t> FirstLineOfKey(const std::vector<std::string>& keys) {
  std::unordered_map<std::string, std::size_t> firstLine;
  firstLine.reserve(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) firstLine.emplace(keys[i], i);
  return firstLine;
}

// Stretches of slots worth a thread of their own on this machine.
std::size_t StretchCount(std::size_t slots) {
  constexpr std::size_t kSlotsPerStretch = 256;  // about a millisecond of parsing, many times a thread start
  constexpr std::size_t kMostStretches = 8;
  const std::size_t cores = UsableCores();
  return std::clamp<std::size_t>(std::min(cores, slots / kSlotsPerStretch), 1, kMostStretches);
}

// A birthplace of only blanks (half-width or ideographic spaces) says nothing.
bool IsBlankText(std::string_view text) {
  while (!text.empty()) {
    if (text.front() == ' ') {
      text.remove_prefix(1);
    } else if (text.starts_with("\u3000")) {
      text.remove_prefix(std::string_view("\u3000").size());
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

bool cSensyuFile::FileLoad(const std::string& strFileName, cSensyuNoList& vntSensyuNo,
                           int16_t intRev) {
  const std::filesystem::path file(strFileName);
  if (!IsPlainFile(file)) {
    ShowLoadError("ファイルが見つかりません。\r\n" + strFileName);
    return false;
  }
  const bool isOld2 = intRev != 0;
  try {
    const std::string bytes = ReadWholeFile(file);
    const std::vector<std::string_view> lines = NonBlankLines(bytes);
    if (lines.size() > kMaxCountedLines) throw cRunError::Overflow();
    std::vector<std::string> keys;
    keys.reserve(lines.size());
    for (std::string_view line : lines) keys.push_back(LineKey(line));
    if (vntSensyuNo.empty()) vntSensyuNo = keys;
    if (lines.size() > kMaxSlots) throw cRunError::Overflow();

    // The training term of the file's last record, read before any matching.
    InitSensyuData(1);
    cPeriodFields ignored;  // the slots are reset below, period included
    SetSensyuDataByLayout(1, lines.empty() ? std::string_view() : lines.back(), isOld2, ignored);
    m_LastYoseiKi = m_YoseiKi[1];

    if (vntSensyuNo.size() > kMaxSlots) throw cRunError::Overflow();
    InitSensyuData(static_cast<int16_t>(vntSensyuNo.size()));
    // Each requested racer gets the first line carrying its number; slots are
    // parsed in list order, so the period values are those of the last one.
    const auto firstLine = FirstLineOfKey(keys);
    std::vector<int> lineOfSlot(vntSensyuNo.size() + 1, -1);
    for (std::size_t k = 1; k <= vntSensyuNo.size(); ++k) {
      auto found = firstLine.find(vntSensyuNo[k - 1]);
      if (found != firstLine.end()) lineOfSlot[k] = static_cast<int>(found->second);
    }
    ParseSlots(lines, lineOfSlot, isOld2);
    RebuildIndex();
    return true;
  } catch (const cRunError& e) {
    ShowLoadError(std::string(e.what()) + "\r\n(Error code:" + std::to_string(e.Number()) + ")");
    InitSensyuData(1);
    return false;
  }
}

bool cSensyuFile::FileLoadOld2(const std::string& strFileName, cSensyuNoList& vntSensyuNo) {
  return FileLoad(strFileName, vntSensyuNo, 2);
}

std::string cSensyuFile::GetSensyuFileVersion() const {
  const char* half = m_Ki == 1 ? "前" : m_Ki == 2 ? "後" : "";
  return std::to_string(m_Nen) + "年" + half + "期";
}

void cSensyuFile::ShowLoadError(const std::string& text) const {
  m_Window.MsgBox(text, MsgButtons::OK, MsgIcon::Exclamation, kLoadErrorCaption);
}

void cSensyuFile::cPeriodFields::TakeLater(cPeriodFields&& later) {
  if (later.nen) nen = later.nen;
  if (later.ki) ki = later.ki;
  if (later.ymdStart) ymdStart = std::move(later.ymdStart);
  if (later.ymdEnd) ymdEnd = std::move(later.ymdEnd);
}

// Slots are independent of each other, and a file at the 16-bit limit has
// tens of thousands: each core parses one stretch of consecutive slots with
// its own period fields, which are then taken in slot order. A record that
// stops the load (the Old2 layout) stops its stretch; the lowest one is told.
void cSensyuFile::ParseSlots(const std::vector<std::string_view>& lines, const std::vector<int>& lineOfSlot,
                             bool isOld2) {
  const std::size_t slots = lineOfSlot.size() - 1;
  const std::size_t stretches = StretchCount(slots);
  std::vector<cPeriodFields> periods(stretches);
  std::vector<std::exception_ptr> failures(stretches);
  const auto parseStretch = [&](std::size_t n) {
    try {
      for (std::size_t slot = 1 + slots * n / stretches; slot < 1 + slots * (n + 1) / stretches; ++slot) {
        if (lineOfSlot[slot] < 0) continue;
        const std::string_view line = lines[static_cast<std::size_t>(lineOfSlot[slot])];
        SetSensyuDataByLayout(static_cast<int16_t>(slot), line, isOld2, periods[n]);
      }
    } catch (...) {
      failures[n] = std::current_exception();
    }
  };
  {
    std::vector<std::jthread> helpers;
    for (std::size_t n = 1; n < stretches; ++n) {
      try {
        helpers.emplace_back(parseStretch, n);
      } catch (const std::system_error&) {
        parseStretch(n);  // no thread to be had: this one parses the stretch itself
      }
    }
    parseStretch(0);
  }
  cPeriodFields period;
  for (std::size_t n = 0; n < stretches; ++n) {
    if (failures[n]) std::rethrow_exception(failures[n]);
    period.TakeLater(std::move(periods[n]));
  }
  m_Nen = period.nen.value_or(m_Nen);
  m_Ki = period.ki.value_or(m_Ki);
  if (period.ymdStart) m_YmdStart = std::move(*period.ymdStart);
  if (period.ymdEnd) m_YmdEnd = std::move(*period.ymdEnd);
}

void cSensyuFile::SetSensyuDataByLayout(int16_t slot, std::string_view line, bool isOld2, cPeriodFields& period) {
  if (isOld2) {
    SetSensyuDataOld2(slot, line, period);
  } else {
    SetSensyuData(slot, line, period);
  }
}

void cSensyuFile::SetSensyuData(int16_t slot, std::string_view line, cPeriodFields& period) {
  try {
    ParseRecord(slot, line, false, period);
  } catch (const cRunError&) {
    // A current-layout record ends quietly at its first field that is not a
    // number; the fields before it stay stored.
  }
}

void cSensyuFile::SetSensyuDataOld2(int16_t slot, std::string_view line, cPeriodFields& period) {
  ParseRecord(slot, line, true, period);
}

std::string_view cSensyuFile::CutBytes(std::string_view& record, std::size_t width) {
  std::string_view field = record.substr(0, width);
  record.remove_prefix(field.size());
  return field;
}

std::string cSensyuFile::CutField(std::string_view& record, std::size_t width) {
  // Cut by byte offset, then decode: a Shift_JIS trail byte can be 0x5C.
  std::string_view field = record.substr(0, width);
  record.remove_prefix(field.size());
  return Cp932ToUtf8(field);
}

void cSensyuFile::ParseRecord(int16_t slot, std::string_view line, bool isOld2, cPeriodFields& period) {
  const auto s = static_cast<std::size_t>(slot);
  std::string_view record = line;
  ParseProfile(s, record);
  ParseCourseStarts(s, record);
  ParseClassHistory(s, record);
  ParsePeriod(s, record, isOld2, period);
  ParseCourseResults(s, record);
  if (!isOld2) ParseBirthplaceTail(s, line, record);
}

void cSensyuFile::ParseProfile(std::size_t s, std::string_view& record) {
  m_SensyuNo[s] = CutField(record, 4);
  m_NameKanji[s] = CutField(record, 16);
  m_NameKana[s] = CutField(record, 15);
  m_Branch[s] = CutField(record, 4);
  m_Birthplace[s] = m_Branch[s];
  m_Class[s] = CutField(record, 2);
  m_Birth[s] = CutField(record, 7);
  m_Sex[s] = FieldToInteger(CutBytes(record, 1));
  m_Age[s] = FieldToInteger(CutBytes(record, 2));
  m_Height[s] = FieldToInteger(CutBytes(record, 3));
  m_Weight[s] = FieldToInteger(CutBytes(record, 2));
  m_Blood[s] = CutField(record, 2);
  m_Syoritu[s] = FieldToHundredths(CutBytes(record, 4));
  m_FSyoritu[s] = FieldToTenths(CutBytes(record, 4));
  m_OneFinishTimes[s] = FieldToInteger(CutBytes(record, 3));
  m_TwoFinishTimes[s] = FieldToInteger(CutBytes(record, 3));
  m_SyussoTimes[s] = FieldToInteger(CutBytes(record, 3));
  m_YusyutuTimes[s] = FieldToInteger(CutBytes(record, 2));
  m_YusyoTimes[s] = FieldToInteger(CutBytes(record, 2));
  m_StartTiming[s] = FieldToHundredths(CutBytes(record, 3));
}

void cSensyuFile::ParseCourseStarts(std::size_t s, std::string_view& record) {
  for (std::size_t c = 1; c <= 6; ++c) {
    m_CourseSyussoTimes[s][c] = FieldToInteger(CutBytes(record, 3));
    m_CourseFSyoritu[s][c] = FieldToTenths(CutBytes(record, 4));
    m_CourseStartTiming[s][c] = FieldToHundredths(CutBytes(record, 3));
    m_CourseStartHatujyun[s][c] = FieldToHundredths(CutBytes(record, 3));
  }
}

void cSensyuFile::ParseClassHistory(std::size_t s, std::string_view& record) {
  m_ClassOld1[s] = CutField(record, 2);
  m_ClassOld2[s] = CutField(record, 2);
  m_ClassOld3[s] = CutField(record, 2);
  m_abilityOld[s] = FieldToIndex(CutBytes(record, 4));
  m_Ability[s] = FieldToIndex(CutBytes(record, 4));
}

// The Old2 layout has a two-digit year, six-character dates and a two-digit
// training term; the values are stored as read, never widened.
void cSensyuFile::ParsePeriod(std::size_t s, std::string_view& record, bool isOld2, cPeriodFields& period) {
  period.nen = FieldToInteger(CutBytes(record, isOld2 ? 2 : 4));
  period.ki = FieldToInteger(CutBytes(record, 1));
  period.ymdStart = CutField(record, isOld2 ? 6 : 8);
  period.ymdEnd = CutField(record, isOld2 ? 6 : 8);
  m_YoseiKi[s] = FieldToInteger(CutBytes(record, isOld2 ? 2 : 3));
}

void cSensyuFile::ParseCourseResults(std::size_t s, std::string_view& record) {
  for (std::size_t c = 1; c <= 6; ++c) {
    for (PerCourseInt* places :
         {&m_Course1FinishTimes, &m_Course2FinishTimes, &m_Course3FinishTimes,
          &m_Course4FinishTimes, &m_Course5FinishTimes, &m_Course6FinishTimes}) {
      (*places)[s][c] = FieldToInteger(CutBytes(record, 3));
    }
    for (PerCourseInt* codes :
         {&m_CourseF0Times, &m_CourseL0Times, &m_CourseL1Times, &m_CourseK0Times, &m_CourseK1Times,
          &m_CourseS0Times, &m_CourseS1Times, &m_CourseS2Times}) {
      (*codes)[s][c] = FieldToInteger(CutBytes(record, 2));
    }
  }
  m_OutsideCourseL0Times[s] = FieldToInteger(CutBytes(record, 2));
  m_OutsideCourseL1Times[s] = FieldToInteger(CutBytes(record, 2));
  m_OutsideCourseK0Times[s] = FieldToInteger(CutBytes(record, 2));
  m_OutsideCourseK1Times[s] = FieldToInteger(CutBytes(record, 2));
}

// Since April 2014 the official file appends the racer's true birthplace at
// offset 410; the field at offset 35 is the branch (支部).
void cSensyuFile::ParseBirthplaceTail(std::size_t s, std::string_view line,
                                      std::string_view record) {
  constexpr std::size_t kTailEnd = 416;
  if (line.size() < kTailEnd) return;
  std::string birthplace = CutField(record, 6);
  if (!IsBlankText(birthplace)) m_Birthplace[s] = birthplace;
}
