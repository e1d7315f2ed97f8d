#pragma once
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Builds one fan handbook record field by field, for tests and golden
// fixtures. Texts go in as UTF-8 and come out as code page 932, left-aligned
// and padded with spaces; numbers are right-aligned in their width. Unset text
// fields are blank and unset numbers are 0, so even a bare builder makes a
// record that parses to its end. A value wider than its field throws
// std::invalid_argument.
//
//   RecordBuilder r;
//   r.SensyuNo("4321").NameKanji("山田 太郎").Syoritu("0650").SyussoTimes(120);
//   std::string line = r.Bytes(RecordLayout::Current);

enum class RecordLayout {
  Current,  // 410 bytes; 416 when Birthplace is set
  Old2,     // 403 bytes; two-digit year and term, six-character dates
};

class RecordBuilder {
 public:
  // clang-format off
  enum class Field {
    SensyuNo, NameKanji, NameKana, Branch, Class, Birth, Sex, Age, Height, Weight, Blood,
    Syoritu, FSyoritu, OneFinishTimes, TwoFinishTimes, SyussoTimes, YusyutuTimes, YusyoTimes,
    StartTiming, ClassOld1, ClassOld2, ClassOld3, abilityOld, Ability, Nen, Ki, YmdStart, YmdEnd,
    YoseiKi, OutsideCourseL0Times, OutsideCourseL1Times, OutsideCourseK0Times,
    OutsideCourseK1Times, Birthplace
  };
  enum class CourseField {
    SyussoTimes, FSyoritu, StartTiming, StartHatujyun, Finish1, Finish2, Finish3, Finish4,
    Finish5, Finish6, F0, L0, L1, K0, K1, S0, S1, S2
  };
  // clang-format on

  /// A number field's content: an int, or text placed as given ("0650", " -3", "ab").
  struct Num {
    Num(int value) : text(std::to_string(value)) {}
    Num(const char* value) : text(value) {}
    Num(std::string value) : text(std::move(value)) {}
    std::string text;
  };

  /// Sets any field to UTF-8 text (numbers as their digits).
  RecordBuilder& Set(Field field, std::string_view text);
  /// Sets a field of course 1..6.
  RecordBuilder& SetCourse(CourseField field, int course, std::string_view text);
  /// The record's code page 932 bytes, without a line end.
  std::string Bytes(RecordLayout layout = RecordLayout::Current) const;

  RecordBuilder& SensyuNo(std::string_view v) { return Set(Field::SensyuNo, v); }
  RecordBuilder& NameKanji(std::string_view v) { return Set(Field::NameKanji, v); }
  RecordBuilder& NameKana(std::string_view v) { return Set(Field::NameKana, v); }
  /// The 4-byte field at offset 35.
  RecordBuilder& Branch(std::string_view v) { return Set(Field::Branch, v); }
  /// The 6-byte field at offset 410 (current layout only; makes the record 416 bytes).
  RecordBuilder& Birthplace(std::string_view v) { return Set(Field::Birthplace, v); }
  RecordBuilder& Class(std::string_view v) { return Set(Field::Class, v); }
  RecordBuilder& Birth(std::string_view v) { return Set(Field::Birth, v); }
  RecordBuilder& Sex(const Num& v) { return Set(Field::Sex, v.text); }
  RecordBuilder& Age(const Num& v) { return Set(Field::Age, v.text); }
  RecordBuilder& Height(const Num& v) { return Set(Field::Height, v.text); }
  RecordBuilder& Weight(const Num& v) { return Set(Field::Weight, v.text); }
  RecordBuilder& Blood(std::string_view v) { return Set(Field::Blood, v); }
  RecordBuilder& Syoritu(const Num& v) { return Set(Field::Syoritu, v.text); }
  RecordBuilder& FSyoritu(const Num& v) { return Set(Field::FSyoritu, v.text); }
  RecordBuilder& OneFinishTimes(const Num& v) { return Set(Field::OneFinishTimes, v.text); }
  RecordBuilder& TwoFinishTimes(const Num& v) { return Set(Field::TwoFinishTimes, v.text); }
  RecordBuilder& SyussoTimes(const Num& v) { return Set(Field::SyussoTimes, v.text); }
  RecordBuilder& YusyutuTimes(const Num& v) { return Set(Field::YusyutuTimes, v.text); }
  RecordBuilder& YusyoTimes(const Num& v) { return Set(Field::YusyoTimes, v.text); }
  RecordBuilder& StartTiming(const Num& v) { return Set(Field::StartTiming, v.text); }
  RecordBuilder& ClassOld1(std::string_view v) { return Set(Field::ClassOld1, v); }
  RecordBuilder& ClassOld2(std::string_view v) { return Set(Field::ClassOld2, v); }
  RecordBuilder& ClassOld3(std::string_view v) { return Set(Field::ClassOld3, v); }
  RecordBuilder& abilityOld(const Num& v) { return Set(Field::abilityOld, v.text); }
  RecordBuilder& Ability(const Num& v) { return Set(Field::Ability, v.text); }
  RecordBuilder& Nen(const Num& v) { return Set(Field::Nen, v.text); }
  RecordBuilder& Ki(const Num& v) { return Set(Field::Ki, v.text); }
  RecordBuilder& YmdStart(std::string_view v) { return Set(Field::YmdStart, v); }
  RecordBuilder& YmdEnd(std::string_view v) { return Set(Field::YmdEnd, v); }
  RecordBuilder& YoseiKi(const Num& v) { return Set(Field::YoseiKi, v.text); }
  RecordBuilder& OutsideCourseL0Times(const Num& v) {
    return Set(Field::OutsideCourseL0Times, v.text);
  }
  RecordBuilder& OutsideCourseL1Times(const Num& v) {
    return Set(Field::OutsideCourseL1Times, v.text);
  }
  RecordBuilder& OutsideCourseK0Times(const Num& v) {
    return Set(Field::OutsideCourseK0Times, v.text);
  }
  RecordBuilder& OutsideCourseK1Times(const Num& v) {
    return Set(Field::OutsideCourseK1Times, v.text);
  }

  RecordBuilder& CourseSyussoTimes(int c, const Num& v) {
    return SetCourse(CourseField::SyussoTimes, c, v.text);
  }
  RecordBuilder& CourseFSyoritu(int c, const Num& v) {
    return SetCourse(CourseField::FSyoritu, c, v.text);
  }
  RecordBuilder& CourseStartTiming(int c, const Num& v) {
    return SetCourse(CourseField::StartTiming, c, v.text);
  }
  RecordBuilder& CourseStartHatujyun(int c, const Num& v) {
    return SetCourse(CourseField::StartHatujyun, c, v.text);
  }
  RecordBuilder& Course1FinishTimes(int c, const Num& v) {
    return SetCourse(CourseField::Finish1, c, v.text);
  }
  RecordBuilder& Course2FinishTimes(int c, const Num& v) {
    return SetCourse(CourseField::Finish2, c, v.text);
  }
  RecordBuilder& Course3FinishTimes(int c, const Num& v) {
    return SetCourse(CourseField::Finish3, c, v.text);
  }
  RecordBuilder& Course4FinishTimes(int c, const Num& v) {
    return SetCourse(CourseField::Finish4, c, v.text);
  }
  RecordBuilder& Course5FinishTimes(int c, const Num& v) {
    return SetCourse(CourseField::Finish5, c, v.text);
  }
  RecordBuilder& Course6FinishTimes(int c, const Num& v) {
    return SetCourse(CourseField::Finish6, c, v.text);
  }
  RecordBuilder& CourseF0Times(int c, const Num& v) {
    return SetCourse(CourseField::F0, c, v.text);
  }
  RecordBuilder& CourseL0Times(int c, const Num& v) {
    return SetCourse(CourseField::L0, c, v.text);
  }
  RecordBuilder& CourseL1Times(int c, const Num& v) {
    return SetCourse(CourseField::L1, c, v.text);
  }
  RecordBuilder& CourseK0Times(int c, const Num& v) {
    return SetCourse(CourseField::K0, c, v.text);
  }
  RecordBuilder& CourseK1Times(int c, const Num& v) {
    return SetCourse(CourseField::K1, c, v.text);
  }
  RecordBuilder& CourseS0Times(int c, const Num& v) {
    return SetCourse(CourseField::S0, c, v.text);
  }
  RecordBuilder& CourseS1Times(int c, const Num& v) {
    return SetCourse(CourseField::S1, c, v.text);
  }
  RecordBuilder& CourseS2Times(int c, const Num& v) {
    return SetCourse(CourseField::S2, c, v.text);
  }

 private:
  std::map<Field, std::string> m_Values;
  std::map<std::pair<CourseField, int>, std::string> m_CourseValues;
};

/// A whole file: each record followed by `eol` (CR LF unless given).
std::string FanFile(const std::vector<std::string>& records, std::string_view eol = "\r\n");
