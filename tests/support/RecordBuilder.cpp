#include "support/RecordBuilder.h"

#include <stdexcept>

#include "sensyu/Cp932.h"

namespace {

using Field = RecordBuilder::Field;
using CourseField = RecordBuilder::CourseField;

// Where a field sits in each layout; offsets are bytes from the line start.
struct FieldPlace {
  Field field;
  const char* name;
  int offset, width;          // current layout
  int offsetOld2, widthOld2;  // Old2 layout; -1 when absent
  bool numeric;
};

constexpr FieldPlace kFields[] = {
    {Field::SensyuNo, "SensyuNo", 0, 4, 0, 4, false},
    {Field::NameKanji, "NameKanji", 4, 16, 4, 16, false},
    {Field::NameKana, "NameKana", 20, 15, 20, 15, false},
    {Field::Branch, "Branch", 35, 4, 35, 4, false},
    {Field::Class, "Class", 39, 2, 39, 2, false},
    {Field::Birth, "Birth", 41, 7, 41, 7, false},
    {Field::Sex, "Sex", 48, 1, 48, 1, true},
    {Field::Age, "Age", 49, 2, 49, 2, true},
    {Field::Height, "Height", 51, 3, 51, 3, true},
    {Field::Weight, "Weight", 54, 2, 54, 2, true},
    {Field::Blood, "Blood", 56, 2, 56, 2, false},
    {Field::Syoritu, "Syoritu", 58, 4, 58, 4, true},
    {Field::FSyoritu, "FSyoritu", 62, 4, 62, 4, true},
    {Field::OneFinishTimes, "OneFinishTimes", 66, 3, 66, 3, true},
    {Field::TwoFinishTimes, "TwoFinishTimes", 69, 3, 69, 3, true},
    {Field::SyussoTimes, "SyussoTimes", 72, 3, 72, 3, true},
    {Field::YusyutuTimes, "YusyutuTimes", 75, 2, 75, 2, true},
    {Field::YusyoTimes, "YusyoTimes", 77, 2, 77, 2, true},
    {Field::StartTiming, "StartTiming", 79, 3, 79, 3, true},
    {Field::ClassOld1, "ClassOld1", 160, 2, 160, 2, false},
    {Field::ClassOld2, "ClassOld2", 162, 2, 162, 2, false},
    {Field::ClassOld3, "ClassOld3", 164, 2, 164, 2, false},
    {Field::abilityOld, "abilityOld", 166, 4, 166, 4, true},
    {Field::Ability, "Ability", 170, 4, 170, 4, true},
    {Field::Nen, "Nen", 174, 4, 174, 2, true},
    {Field::Ki, "Ki", 178, 1, 176, 1, true},
    {Field::YmdStart, "YmdStart", 179, 8, 177, 6, false},
    {Field::YmdEnd, "YmdEnd", 187, 8, 183, 6, false},
    {Field::YoseiKi, "YoseiKi", 195, 3, 189, 2, true},
    {Field::OutsideCourseL0Times, "OutsideCourseL0Times", 402, 2, 395, 2, true},
    {Field::OutsideCourseL1Times, "OutsideCourseL1Times", 404, 2, 397, 2, true},
    {Field::OutsideCourseK0Times, "OutsideCourseK0Times", 406, 2, 399, 2, true},
    {Field::OutsideCourseK1Times, "OutsideCourseK1Times", 408, 2, 401, 2, true},
    {Field::Birthplace, "Birthplace", 410, 6, -1, 0, false},
};

// Course block A (starts, rates, timings) and block B (placings, result codes).
struct CoursePlace {
  CourseField field;
  const char* name;
  bool blockB;
  int offsetInEntry, width;
};

constexpr CoursePlace kCourseFields[] = {
    {CourseField::SyussoTimes, "CourseSyussoTimes", false, 0, 3},
    {CourseField::FSyoritu, "CourseFSyoritu", false, 3, 4},
    {CourseField::StartTiming, "CourseStartTiming", false, 7, 3},
    {CourseField::StartHatujyun, "CourseStartHatujyun", false, 10, 3},
    {CourseField::Finish1, "Course1FinishTimes", true, 0, 3},
    {CourseField::Finish2, "Course2FinishTimes", true, 3, 3},
    {CourseField::Finish3, "Course3FinishTimes", true, 6, 3},
    {CourseField::Finish4, "Course4FinishTimes", true, 9, 3},
    {CourseField::Finish5, "Course5FinishTimes", true, 12, 3},
    {CourseField::Finish6, "Course6FinishTimes", true, 15, 3},
    {CourseField::F0, "CourseF0Times", true, 18, 2},
    {CourseField::L0, "CourseL0Times", true, 20, 2},
    {CourseField::L1, "CourseL1Times", true, 22, 2},
    {CourseField::K0, "CourseK0Times", true, 24, 2},
    {CourseField::K1, "CourseK1Times", true, 26, 2},
    {CourseField::S0, "CourseS0Times", true, 28, 2},
    {CourseField::S1, "CourseS1Times", true, 30, 2},
    {CourseField::S2, "CourseS2Times", true, 32, 2},
};

constexpr int kBlockA = 82, kEntryA = 13;
constexpr int kBlockB = 198, kBlockBOld2 = 191, kEntryB = 34;

void Place(std::string& record, int offset, int width, bool numeric, const std::string& utf8,
           const char* name) {
  const std::string bytes = Utf8ToCp932(utf8);
  const auto w = static_cast<std::size_t>(width);
  if (bytes.size() > w) {
    throw std::invalid_argument(std::string(name) + ": \"" + utf8 + "\" is wider than " +
                                std::to_string(width) + " bytes");
  }
  const std::size_t pad = w - bytes.size();
  record.replace(static_cast<std::size_t>(offset) + (numeric ? pad : 0), bytes.size(), bytes);
}

template <class Map, class Key>
std::string ValueOr(const Map& values, const Key& key, bool numeric) {
  auto found = values.find(key);
  if (found != values.end()) return found->second;
  return numeric ? "0" : "";
}

}  // namespace

RecordBuilder& RecordBuilder::Set(Field field, std::string_view text) {
  m_Values[field] = std::string(text);
  return *this;
}

RecordBuilder& RecordBuilder::SetCourse(CourseField field, int course, std::string_view text) {
  if (course < 1 || course > 6) throw std::invalid_argument("course outside 1..6");
  m_CourseValues[{field, course}] = std::string(text);
  return *this;
}

std::string RecordBuilder::Bytes(RecordLayout layout) const {
  const bool old2 = layout == RecordLayout::Old2;
  std::string record(old2 ? 403 : 410, ' ');
  for (const FieldPlace& f : kFields) {
    if (f.field == Field::Birthplace) continue;
    Place(record, old2 ? f.offsetOld2 : f.offset, old2 ? f.widthOld2 : f.width, f.numeric,
          ValueOr(m_Values, f.field, f.numeric), f.name);
  }
  for (const CoursePlace& f : kCourseFields) {
    for (int c = 1; c <= 6; ++c) {
      const int entry = f.blockB ? (old2 ? kBlockBOld2 : kBlockB) + kEntryB * (c - 1)
                                 : kBlockA + kEntryA * (c - 1);
      Place(record, entry + f.offsetInEntry, f.width, true,
            ValueOr(m_CourseValues, std::pair{f.field, c}, true), f.name);
    }
  }
  auto birthplace = m_Values.find(Field::Birthplace);
  if (!old2 && birthplace != m_Values.end()) {
    const FieldPlace& tail = kFields[std::size(kFields) - 1];
    record.resize(static_cast<std::size_t>(tail.offset + tail.width), ' ');
    Place(record, tail.offset, tail.width, false, birthplace->second, tail.name);
  }
  return record;
}

std::string FanFile(const std::vector<std::string>& records, std::string_view eol) {
  std::string file;
  for (const std::string& r : records) {
    file += r;
    file += eol;
  }
  return file;
}
