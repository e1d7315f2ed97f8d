#include "report/ExportColumns.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <variant>

#include "report/Format.h"
#include "report/IsoDate.h"
#include "sensyu/cSensyuFile.h"

namespace {

constexpr std::array<std::string_view, 3> kKey{"year", "half", "racer_no"};
constexpr std::array<std::string_view, 4> kPeriod{"year", "half", "period_start", "period_end"};

// The figures the racer page derives, beside the stored fields.
enum class eDerived { Top3Rate, StartOrder, FCount, LCount };

using cSource = std::variant<const cRecordField*, eDerived>;

struct cColumns {
  std::vector<cColumn> racer, course;
  std::vector<cSource> racerSources, courseSources;

  void Add(bool ofCourse, cColumn column, cSource source) {
    (ofCourse ? course : racer).push_back(std::move(column));
    (ofCourse ? courseSources : racerSources).push_back(source);
  }
};

eColumnType TypeOf(const cRecordField& field) {
  switch (field.kind) {
    case eFieldKind::Text: return eColumnType::Text;
    case eFieldKind::Tenths:
    case eFieldKind::Hundredths: return eColumnType::Real;
    default: return eColumnType::Integer;
  }
}

bool IsKey(std::string_view name) { return std::ranges::find(kKey, name) != kKey.end(); }

const cRecordField& FieldNamed(std::string_view exportName) {
  const std::vector<cRecordField>& fields = RecordFields(eRecordLayout::Current);
  return *std::ranges::find(fields, exportName, &cRecordField::exportName);
}

// Course fields are listed once per course; the columns take course 1's.
const cColumns& Columns() {
  static const cColumns columns = [] {
    cColumns c;
    for (std::string_view key : kKey) c.Add(false, {std::string(key), TypeOf(FieldNamed(key))}, &FieldNamed(key));
    for (const cRecordField& field : RecordFields(eRecordLayout::Current)) {
      if (field.course > 1 || IsKey(field.exportName)) continue;
      c.Add(field.course == 1, {std::string(field.exportName), TypeOf(field)}, &field);
    }
    c.Add(false, {"top3_rate", eColumnType::Real}, eDerived::Top3Rate);
    c.Add(false, {"start_order", eColumnType::Real}, eDerived::StartOrder);
    c.Add(false, {"f_count", eColumnType::Integer}, eDerived::FCount);
    c.Add(false, {"l_count", eColumnType::Integer}, eDerived::LCount);
    c.Add(true, {"top3_rate", eColumnType::Real}, eDerived::Top3Rate);
    return c;
  }();
  return columns;
}

// Names are padded with half-width and ideographic spaces; the blank between
// family and given name stays.
std::string WithoutPadding(std::string_view text) {
  constexpr std::string_view kWide = "\u3000";
  while (text.starts_with(' ') || text.starts_with(kWide)) text.remove_prefix(text.front() == ' ' ? 1 : kWide.size());
  while (text.ends_with(' ') || text.ends_with(kWide)) text.remove_suffix(text.back() == ' ' ? 1 : kWide.size());
  return std::string(text);
}

cCell FieldCell(const cSensyuFile& sensyu, const std::string& no, const cRecordField& field, int16_t course,
                eRecordLayout layout) {
  const cSensyuFile::cFieldValue value = sensyu.FieldValue(no, field.row, course);
  if (const auto* text = std::get_if<std::string>(&value)) {
    if (field.form != eExportForm::Date) return {WithoutPadding(*text)};
    const std::optional<std::string> date = IsoDate(*text);
    return date ? cCell{*date} : cCell{"", true};
  }
  if (const auto* count = std::get_if<int16_t>(&value)) {
    const bool shortYear = field.form == eExportForm::Year && layout == eRecordLayout::Old2;
    return {std::to_string(shortYear ? FullYear(*count) : *count)};
  }
  const float figure = std::get<float>(value);
  return {field.kind == eFieldKind::Tenths ? Format0(figure) : Format00(figure)};
}

// As the racer page computes them; rates and the mean start order with two decimals.
cCell DerivedCell(const cSensyuFile& sensyu, const std::string& no, eDerived derived, int16_t course) {
  switch (derived) {
    case eDerived::Top3Rate:
      return {Format00(course == 0 ? sensyu.Rentairitu3(no) : sensyu.CourseRentairitu3(no, course))};
    case eDerived::StartOrder: return {Format00(sensyu.StratHatujyun(no))};
    case eDerived::FCount: return {std::to_string(sensyu.FTimes(no))};
    case eDerived::LCount: break;
  }
  return {std::to_string(sensyu.LTimes(no))};
}

void AppendCells(const cSensyuFile& sensyu, const std::string& no, const std::vector<cSource>& sources,
                 int16_t course, eRecordLayout layout, std::vector<cCell>& cells) {
  for (const cSource& source : sources) {
    const auto* const* field = std::get_if<const cRecordField*>(&source);
    cells.push_back(field ? FieldCell(sensyu, no, **field, course, layout)
                          : DerivedCell(sensyu, no, std::get<eDerived>(source), course));
  }
}

}  // namespace

const std::vector<cColumn>& RacerColumns() { return Columns().racer; }

const std::vector<cColumn>& CourseColumns() { return Columns().course; }

void AppendRacerCells(const cSensyuFile& sensyu, const std::string& no, eRecordLayout layout,
                      std::vector<cCell>& cells) {
  AppendCells(sensyu, no, Columns().racerSources, 0, layout, cells);
}

void AppendCourseCells(const cSensyuFile& sensyu, const std::string& no, int16_t course, std::vector<cCell>& cells) {
  AppendCells(sensyu, no, Columns().courseSources, course, eRecordLayout::Current, cells);
}

std::vector<cCell> PeriodCells(const cSensyuFile& sensyu, eRecordLayout layout) {
  std::vector<cCell> cells;
  for (std::string_view name : kPeriod) cells.push_back(FieldCell(sensyu, "", FieldNamed(name), 0, layout));
  return cells;
}

std::vector<std::string> RacersInOrder(const cSensyuFile& sensyu) {
  std::vector<std::string> numbers;
  for (int16_t slot = 1; slot <= sensyu.SlotCount(); ++slot) {
    std::string no = sensyu.SensyuNo(slot);
    if (!no.empty()) numbers.push_back(std::move(no));
  }
  std::ranges::sort(numbers);
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}
