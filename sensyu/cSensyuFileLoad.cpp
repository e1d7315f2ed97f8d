#include <algorithm>
#include <iterator>
#include <unordered_map>

#include "platform/FileRead.h"
#include "platform/ParallelFor.h"
#include "platform/Path.h"
#include "sensyu/Cp932.h"
#include "sensyu/FanLines.h"
#include "sensyu/FieldConvert.h"
#include "sensyu/FieldTable.h"
#include "sensyu/RunError.h"
#include "sensyu/cSensyuFile.h"

// Loading the fan handbook file: reading its lines, matching them to the
// requested racers and cutting each record into the slot's members.

namespace {

constexpr const char* kLoadErrorCaption = "選手ファイル読み取りエラー";

// Line counts, slot numbers and list positions are 16-bit: the reading pass
// still reads line 32,767, then its counter steps past the limit.
constexpr std::size_t kMaxCountedLines = 32767;
constexpr std::size_t kMaxSlots = 32766;
// About a millisecond of parsing, many times what starting a thread costs.
constexpr std::size_t kSlotsPerStretch = 256;

using cFoundDamage = std::pair<std::size_t, cDamagedRecord>;  // the line's place among the non-blank lines

// Every non-blank line in file order, wherever blank lines stand, and its
// line number in the file, which the user sees in an editor.
struct cRecordLines {
  std::vector<std::string_view> text;
  std::vector<int32_t> number;
};

cRecordLines NonBlankLines(std::string_view bytes) {
  const std::vector<std::string_view> all = SplitLines(bytes);
  cRecordLines lines;
  lines.text.reserve(all.size());
  lines.number.reserve(all.size());
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (IsBlankLine(all[i])) continue;
    lines.text.push_back(all[i]);
    lines.number.push_back(static_cast<int32_t>(i + 1));
  }
  return lines;
}

// Racer number of each line -> the first line that carries it; each later
// line with the same number goes into `repeats` with that first line.
std::unordered_map<std::string, std::size_t> FirstLineOfKey(const std::vector<std::string>& keys,
                                                            std::vector<std::pair<std::size_t, std::size_t>>& repeats) {
  std::unordered_map<std::string, std::size_t> firstLine;
  firstLine.reserve(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const auto [at, added] = firstLine.emplace(keys[i], i);
    if (!added) repeats.emplace_back(i, at->second);
  }
  return firstLine;
}

// The lines some slot was filled from.
std::vector<bool> UsedLines(const std::vector<int>& lineOfSlot, std::size_t lines) {
  std::vector<bool> used(lines, false);
  for (const int at : lineOfSlot)
    if (at >= 0) used[static_cast<std::size_t>(at)] = true;
  return used;
}

// A repeated racer number is told only where its first record was used.
void AddRepeats(const std::vector<std::pair<std::size_t, std::size_t>>& repeats, const std::vector<bool>& used,
                const std::vector<int32_t>& numbers, std::vector<cFoundDamage>& found) {
  for (const auto& [line, first] : repeats) {
    if (!used[first]) continue;
    cDamagedRecord record;
    record.damage = eRecordDamage::RepeatedNumber;
    record.usedLine = numbers[first];
    found.emplace_back(line, std::move(record));
  }
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

// How each field of the layout is stored, in the order of RecordFields: a
// record has some two hundred fields, so this is looked up once per run.
const std::vector<const cFieldStore*>& StoresOf(eRecordLayout layout) {
  static const auto make = [](eRecordLayout l) {
    std::vector<const cFieldStore*> stores;
    for (const cRecordField& field : RecordFields(l)) stores.push_back(&FieldStore(field.row));
    return stores;
  };
  static const std::vector<const cFieldStore*> current = make(eRecordLayout::Current), old2 = make(eRecordLayout::Old2);
  return layout == eRecordLayout::Old2 ? old2 : current;
}

// The field's bytes as the cutting of the record leaves them: all that is
// left when the line is shorter, nothing when it ends before the field.
std::string_view FieldBytes(std::string_view line, const cRecordField& field) {
  if (field.offset >= line.size()) return {};
  return line.substr(field.offset, field.width);
}

// Where a layout's records end: without the birthplace that newer files
// append, and with it.
struct cLayoutEnds {
  std::size_t plain = 0, full = 0;
};

const cLayoutEnds& EndsOf(eRecordLayout layout) {
  static const auto make = [](eRecordLayout l) {
    cLayoutEnds ends;
    const std::vector<cRecordField>& fields = RecordFields(l);
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const std::size_t end = fields[i].offset + fields[i].width;
      ends.full = std::max(ends.full, end);
      if (StoresOf(l)[i]->rule != eFieldRule::BirthplaceTail) ends.plain = std::max(ends.plain, end);
    }
    return ends;
  };
  static const cLayoutEnds current = make(eRecordLayout::Current), old2 = make(eRecordLayout::Old2);
  return layout == eRecordLayout::Old2 ? old2 : current;
}

// The field a line of `length` bytes ends in, or right before.
const cRecordField& FieldAtEnd(const std::vector<cRecordField>& fields, std::size_t length) {
  for (const cRecordField& field : fields)
    if (field.offset + field.width > length) return field;
  return fields.back();
}

// What is wrong with a parsed record, if anything: a field within the line
// that stopped it (`stopped`, its place in RecordFields; a 16-bit record
// field holds any number its width allows, so only letters or blanks do), or
// a line that ends before its layout does.
std::optional<cDamagedRecord> DamageOf(std::string_view line, eRecordLayout layout, std::optional<std::size_t> stopped) {
  const std::vector<cRecordField>& fields = RecordFields(layout);
  const cLayoutEnds& ends = EndsOf(layout);
  const bool cut = line.size() < ends.plain || (line.size() > ends.plain && line.size() < ends.full);
  cDamagedRecord damage;
  if (stopped && (!cut || fields[*stopped].offset + fields[*stopped].width <= line.size())) {
    damage.damage = eRecordDamage::NotANumber;
    damage.field = &fields[*stopped];
    damage.fieldText = Cp932ToUtf8(FieldBytes(line, *damage.field));
    return damage;
  }
  if (!cut) return std::nullopt;
  damage.field = &FieldAtEnd(fields, line.size());
  damage.length = line.size();
  return damage;
}

// A line as long as a record whose racer number is not four digits is a
// damaged record: no racer asks for it, and it would go without a word.
void AddUnnumbered(const std::vector<std::string_view>& lines, const std::vector<bool>& used,
                   std::vector<cFoundDamage>& found) {
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (used[i] || lines[i].size() < EndsOf(eRecordLayout::Old2).plain) continue;
    if (std::ranges::all_of(lines[i].substr(0, 4), isDigit)) continue;
    cDamagedRecord record;
    record.damage = eRecordDamage::NotARacerNumber;
    found.emplace_back(i, std::move(record));
  }
}

}  // namespace

bool cSensyuFile::FileLoad(const std::string& strFileName, cSensyuNoList& vntSensyuNo, int16_t intRev) {
  const std::filesystem::path file = PathFromUtf8(strFileName);
  if (!IsPlainFile(file)) {
    ShowLoadError("ファイルが見つかりません。\r\n" + strFileName);
    return false;
  }
  std::string bytes;
  try {
    bytes = ReadWholeFile(file);
  } catch (const cReadFailure& e) {
    ShowLoadError(WithErrorCode(e.what(), e.Number()));
    InitSensyuData(1);
    return false;
  }
  return LoadBytes(bytes, vntSensyuNo, intRev);
}

bool cSensyuFile::LoadBytes(std::string_view bytes, cSensyuNoList& vntSensyuNo, int16_t intRev) {
  const bool isOld2 = intRev != 0;
  m_Damaged.clear();
  try {
    const cRecordLines lines = NonBlankLines(bytes);
    if (lines.text.size() > kMaxCountedLines) throw cRunError::Overflow();
    std::vector<std::string> keys;
    keys.reserve(lines.text.size());
    for (std::string_view line : lines.text) keys.push_back(LineKey(line));
    if (vntSensyuNo.empty()) vntSensyuNo = keys;
    if (lines.text.size() > kMaxSlots) throw cRunError::Overflow();

    // The training term of the file's last record, read before any matching.
    InitSensyuData(1);
    cPeriodFields ignored;  // the slots are reset below, period included
    SetSensyuDataByLayout(1, lines.text.empty() ? std::string_view() : lines.text.back(), isOld2, ignored);
    m_LastYoseiKi = m_YoseiKi[1];

    if (vntSensyuNo.size() > kMaxSlots) throw cRunError::Overflow();
    InitSensyuData(static_cast<int16_t>(vntSensyuNo.size()));
    // Each requested racer gets the first line carrying its number; slots are
    // parsed in list order, so the period values are those of the last one.
    std::vector<std::pair<std::size_t, std::size_t>> repeats;
    const auto firstLine = FirstLineOfKey(keys, repeats);
    std::vector<int> lineOfSlot(vntSensyuNo.size() + 1, -1);
    for (std::size_t k = 1; k <= vntSensyuNo.size(); ++k) {
      auto found = firstLine.find(vntSensyuNo[k - 1]);
      if (found != firstLine.end()) lineOfSlot[k] = static_cast<int>(found->second);
    }
    std::vector<cFoundDamage> damage = ParseSlots(lines.text, lineOfSlot, isOld2);
    const std::vector<bool> used = UsedLines(lineOfSlot, lines.text.size());
    AddRepeats(repeats, used, lines.number, damage);
    AddUnnumbered(lines.text, used, damage);
    KeepDamage(std::move(damage), lines.number, keys);
    RebuildIndex();
    return true;
  } catch (const cRunError& e) {
    ShowLoadError(WithErrorCode(e.what(), e.Number()));
    InitSensyuData(1);
    m_Damaged.clear();
    return false;
  }
}

// In file order, each line once: a racer number listed twice parses its line twice.
void cSensyuFile::KeepDamage(std::vector<std::pair<std::size_t, cDamagedRecord>> found,
                             const std::vector<int32_t>& numbers, const std::vector<std::string>& keys) {
  std::ranges::stable_sort(found, {}, &cFoundDamage::first);
  const auto sameLine = [](const cFoundDamage& a, const cFoundDamage& b) { return a.first == b.first; };
  found.erase(std::unique(found.begin(), found.end(), sameLine), found.end());
  for (auto& [line, record] : found) {
    record.line = numbers[line];
    record.sensyuNo = keys[line];
    m_Damaged.push_back(std::move(record));
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
// tens of thousands: each core parses stretches of consecutive slots with
// their own period fields, which are then taken in slot order. A record that
// stops the load (the Old2 layout) stops its stretch; the lowest one is told.
std::vector<std::pair<std::size_t, cDamagedRecord>> cSensyuFile::ParseSlots(const std::vector<std::string_view>& lines,
                                                                             const std::vector<int>& lineOfSlot,
                                                                             bool isOld2) {
  const std::size_t slots = lineOfSlot.size() - 1;
  const unsigned helpers = HelpersFor(slots, kSlotsPerStretch);
  const std::size_t stretches = helpers + 1;
  const eRecordLayout layout = isOld2 ? eRecordLayout::Old2 : eRecordLayout::Current;
  std::vector<cPeriodFields> periods(stretches);
  std::vector<std::vector<cFoundDamage>> damage(stretches);
  ParallelFor(stretches, helpers, [&](std::size_t n) {
    for (std::size_t slot = 1 + slots * n / stretches; slot < 1 + slots * (n + 1) / stretches; ++slot) {
      if (lineOfSlot[slot] < 0) continue;
      const auto at = static_cast<std::size_t>(lineOfSlot[slot]);
      const auto stopped = SetSensyuDataByLayout(static_cast<int16_t>(slot), lines[at], isOld2, periods[n]);
      if (auto found = DamageOf(lines[at], layout, stopped)) damage[n].emplace_back(at, std::move(*found));
    }
  });
  cPeriodFields period;
  for (cPeriodFields& later : periods) period.TakeLater(std::move(later));
  m_Nen = period.nen.value_or(m_Nen);
  m_Ki = period.ki.value_or(m_Ki);
  if (period.ymdStart) m_YmdStart = std::move(*period.ymdStart);
  if (period.ymdEnd) m_YmdEnd = std::move(*period.ymdEnd);
  std::vector<cFoundDamage> all;
  for (std::vector<cFoundDamage>& stretch : damage) std::ranges::move(stretch, std::back_inserter(all));
  return all;
}

std::optional<std::size_t> cSensyuFile::SetSensyuDataByLayout(int16_t slot, std::string_view line,
                                                              bool isOld2, cPeriodFields& period) {
  return isOld2 ? SetSensyuDataOld2(slot, line, period) : SetSensyuData(slot, line, period);
}

// A current-layout record ends at its first field that is not a number; the
// fields before it stay stored, and the load goes on.
std::optional<std::size_t> cSensyuFile::SetSensyuData(int16_t slot, std::string_view line, cPeriodFields& period) {
  return ParseRecord(static_cast<std::size_t>(slot), line, false, period);
}

std::optional<std::size_t> cSensyuFile::SetSensyuDataOld2(int16_t slot, std::string_view line, cPeriodFields& period) {
  return ParseRecord(static_cast<std::size_t>(slot), line, true, period);
}

inline void cSensyuFile::StoreField(std::size_t s, const cRecordField& field, const cFieldStore& store,
                                    std::string_view line, cPeriodFields& period) {
  // Cut by byte offset, then decode: a Shift_JIS trail byte can be 0x5C. A
  // number field needs no decoding: a byte above 0x7F is never a digit.
  const std::string_view bytes = FieldBytes(line, field);
  const auto c = static_cast<std::size_t>(field.course);
  if (store.rule == eFieldRule::BirthplaceTail) {
    if (line.size() < field.offset + field.width) return;
    std::string birthplace = Cp932ToUtf8(bytes);
    if (!IsBlankText(birthplace)) m_Birthplace[s] = std::move(birthplace);
    return;
  }
  std::visit(
      [&](auto member) {
        using M = decltype(member);
        if constexpr (std::is_same_v<M, ePeriodField>) {
          if (member == ePeriodField::Nen) period.nen = FieldToInteger(bytes);
          if (member == ePeriodField::Ki) period.ki = FieldToInteger(bytes);
          if (member == ePeriodField::YmdStart) period.ymdStart = Cp932ToUtf8(bytes);
          if (member == ePeriodField::YmdEnd) period.ymdEnd = Cp932ToUtf8(bytes);
        } else if constexpr (std::is_same_v<M, PerRacerText cSensyuFile::*>) {
          (this->*member)[s] = Cp932ToUtf8(bytes);
          if (store.rule == eFieldRule::AlsoBirthplace) m_Birthplace[s] = (this->*member)[s];
        } else if constexpr (std::is_same_v<M, PerRacerInt cSensyuFile::*>) {
          (this->*member)[s] = field.kind == eFieldKind::Index ? FieldToIndex(bytes) : FieldToInteger(bytes);
        } else if constexpr (std::is_same_v<M, PerRacerFloat cSensyuFile::*>) {
          (this->*member)[s] = field.kind == eFieldKind::Tenths ? FieldToTenths(bytes) : FieldToHundredths(bytes);
        } else if constexpr (std::is_same_v<M, PerCourseInt cSensyuFile::*>) {
          (this->*member)[s][c] = FieldToInteger(bytes);
        } else {
          (this->*member)[s][c] = field.kind == eFieldKind::Tenths ? FieldToTenths(bytes) : FieldToHundredths(bytes);
        }
      },
      store.member);
}

// An Old2 record that does not convert fails the whole load.
std::optional<std::size_t> cSensyuFile::ParseRecord(std::size_t slot, std::string_view line,
                                                    bool isOld2, cPeriodFields& period) {
  const eRecordLayout layout = isOld2 ? eRecordLayout::Old2 : eRecordLayout::Current;
  const std::vector<cRecordField>& fields = RecordFields(layout);
  const std::vector<const cFieldStore*>& stores = StoresOf(layout);
  std::size_t i = 0;
  try {
    for (; i < fields.size(); ++i) StoreField(slot, fields[i], *stores[i], line, period);
  } catch (const cRunError&) {
    if (isOld2) throw;
    return i;
  }
  return std::nullopt;
}
