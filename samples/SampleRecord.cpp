#include "samples/SampleRecord.h"

#include <map>
#include <stdexcept>

#include "sensyu/Cp932.h"
#include "sensyu/RecordLayout.h"

namespace {

constexpr std::string_view kFullWidthSpace = "\x81\x40";

using cNumberOf = int (*)(const SampleRacer&, const SampleCourse&);

// The racer's figure for each number field, by the field's name.
const std::map<std::string_view, cNumberOf>& Numbers() {
  static const std::map<std::string_view, cNumberOf> numbers{
      {"SensyuNo", [](const SampleRacer& r, const SampleCourse&) { return r.number; }},
      {"Sex", [](const SampleRacer& r, const SampleCourse&) { return r.sex; }},
      {"Age", [](const SampleRacer& r, const SampleCourse&) { return r.age; }},
      {"Height", [](const SampleRacer& r, const SampleCourse&) { return r.height; }},
      {"Weight", [](const SampleRacer& r, const SampleCourse&) { return r.weight; }},
      {"Syoritu", [](const SampleRacer& r, const SampleCourse&) { return r.winRate; }},
      {"FSyoritu", [](const SampleRacer& r, const SampleCourse&) { return r.topTwoPerMille; }},
      {"OneFinishTimes", [](const SampleRacer& r, const SampleCourse&) { return r.firsts; }},
      {"TwoFinishTimes", [](const SampleRacer& r, const SampleCourse&) { return r.seconds; }},
      {"SyussoTimes", [](const SampleRacer& r, const SampleCourse&) { return r.starts; }},
      {"YusyutuTimes", [](const SampleRacer& r, const SampleCourse&) { return r.finals; }},
      {"YusyoTimes", [](const SampleRacer& r, const SampleCourse&) { return r.titles; }},
      {"StartTiming", [](const SampleRacer& r, const SampleCourse&) { return r.startTiming; }},
      {"CourseSyussoTimes", [](const SampleRacer&, const SampleCourse& c) { return c.starts; }},
      {"CourseFSyoritu", [](const SampleRacer&, const SampleCourse& c) { return c.topTwoPerMille; }},
      {"CourseStartTiming", [](const SampleRacer&, const SampleCourse& c) { return c.startTiming; }},
      {"CourseStartHatujyun", [](const SampleRacer&, const SampleCourse& c) { return c.startOrder; }},
      {"abilityOld", [](const SampleRacer& r, const SampleCourse&) { return r.abilityOld; }},
      {"Ability", [](const SampleRacer& r, const SampleCourse&) { return r.ability; }},
      {"Nen", [](const SampleRacer&, const SampleCourse&) { return std::stoi(std::string(kSampleNen)); }},
      {"Ki", [](const SampleRacer&, const SampleCourse&) { return std::stoi(std::string(kSampleKi)); }},
      {"YoseiKi", [](const SampleRacer& r, const SampleCourse&) { return r.trainingTerm; }},
      {"Course1FinishTimes", [](const SampleRacer&, const SampleCourse& c) { return c.places[0]; }},
      {"Course2FinishTimes", [](const SampleRacer&, const SampleCourse& c) { return c.places[1]; }},
      {"Course3FinishTimes", [](const SampleRacer&, const SampleCourse& c) { return c.places[2]; }},
      {"Course4FinishTimes", [](const SampleRacer&, const SampleCourse& c) { return c.places[3]; }},
      {"Course5FinishTimes", [](const SampleRacer&, const SampleCourse& c) { return c.places[4]; }},
      {"Course6FinishTimes", [](const SampleRacer&, const SampleCourse& c) { return c.places[5]; }},
      {"CourseF0Times", [](const SampleRacer&, const SampleCourse& c) { return c.f0; }},
      {"CourseL0Times", [](const SampleRacer&, const SampleCourse& c) { return c.l0; }},
      {"CourseL1Times", [](const SampleRacer&, const SampleCourse& c) { return c.l1; }},
      {"CourseK0Times", [](const SampleRacer&, const SampleCourse& c) { return c.k0; }},
      {"CourseK1Times", [](const SampleRacer&, const SampleCourse& c) { return c.k1; }},
      {"CourseS0Times", [](const SampleRacer&, const SampleCourse& c) { return c.s0; }},
      {"CourseS1Times", [](const SampleRacer&, const SampleCourse& c) { return c.s1; }},
      {"CourseS2Times", [](const SampleRacer&, const SampleCourse& c) { return c.s2; }},
      {"OutsideCourseL0Times", [](const SampleRacer& r, const SampleCourse&) { return r.outsideL0; }},
      {"OutsideCourseL1Times", [](const SampleRacer& r, const SampleCourse&) { return r.outsideL1; }},
      {"OutsideCourseK0Times", [](const SampleRacer& r, const SampleCourse&) { return r.outsideK0; }},
      {"OutsideCourseK1Times", [](const SampleRacer& r, const SampleCourse&) { return r.outsideK1; }},
  };
  return numbers;
}

// The racer's text for each text field; names pad with full-width spaces as
// the official file does.
std::pair<std::string, std::string_view> TextOf(const SampleRacer& r, std::string_view field) {
  if (field == "NameKanji") return {r.family + "　" + r.given, kFullWidthSpace};
  if (field == "NameKana") return {r.familyKana + " " + r.givenKana, " "};
  if (field == "Branch") return {r.branch, " "};
  if (field == "Class") return {r.klass, " "};
  if (field == "Birth") return {r.birth, " "};
  if (field == "Blood") return {r.blood, " "};
  if (field == "ClassOld1") return {r.classOld[0], " "};
  if (field == "ClassOld2") return {r.classOld[1], " "};
  if (field == "ClassOld3") return {r.classOld[2], " "};
  if (field == "YmdStart") return {std::string(kSampleYmdStart), " "};
  if (field == "YmdEnd") return {std::string(kSampleYmdEnd), " "};
  if (field == "Birthplace") return {r.birthplace, " "};
  throw std::logic_error("no sample text for " + std::string(field));
}

void AppendNumber(std::string& record, int value, std::size_t width) {
  const std::string digits = std::to_string(value);
  if (value < 0 || digits.size() > width)
    throw std::logic_error("value " + digits + " does not fit " + std::to_string(width) + " digits");
  record.append(width - digits.size(), '0').append(digits);
}

// Left-aligned, padded with `pad`, then with half-width spaces if a byte is left.
void AppendText(std::string& record, const std::string& utf8, std::string_view pad, std::size_t width) {
  const std::string bytes = Utf8ToCp932(utf8);
  if (Cp932ToUtf8(bytes) != utf8) throw std::logic_error("not code page 932 text: " + utf8);
  if (bytes.size() > width) throw std::logic_error("text too wide: " + utf8);
  std::size_t left = width - bytes.size();
  record += bytes;
  for (; left >= pad.size(); left -= pad.size()) record += pad;
  record.append(left, ' ');
}

}  // namespace

std::string SampleRecord(const SampleRacer& racer) {
  std::string record;
  for (const cRecordField& field : RecordFields(eRecordLayout::Current)) {
    const SampleCourse& course = racer.courses[static_cast<std::size_t>(field.course > 0 ? field.course - 1 : 0)];
    const auto number = Numbers().find(field.name);
    if (number != Numbers().end()) {
      AppendNumber(record, number->second(racer, course), field.width);
    } else {
      const auto [text, pad] = TextOf(racer, field.name);
      AppendText(record, text, pad, field.width);
    }
  }
  if (record.size() != kSampleRecordBytes) throw std::logic_error("record is not 416 bytes");
  return record;
}
