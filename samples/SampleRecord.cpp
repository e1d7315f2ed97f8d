#include "samples/SampleRecord.h"

#include <stdexcept>

#include "sensyu/Cp932.h"

namespace {

constexpr std::string_view kFullWidthSpace = "\x81\x40";

// Fields are appended in record order, each exactly its width in bytes.
class cRecordBuilder {
 public:
  void Number(int value, std::size_t width) {
    std::string digits = std::to_string(value);
    if (value < 0 || digits.size() > width)
      throw std::logic_error("value " + digits + " does not fit " + std::to_string(width) + " digits");
    m_Bytes.append(width - digits.size(), '0');
    m_Bytes += digits;
  }

  // Names pad with full-width spaces as the official file does, then with
  // a half-width space if one byte is left.
  void Text(std::string_view utf8, std::size_t width, std::string_view pad = " ") {
    const std::string bytes = Utf8ToCp932(utf8);
    if (Cp932ToUtf8(bytes) != utf8) throw std::logic_error("not code page 932 text: " + std::string(utf8));
    if (bytes.size() > width) throw std::logic_error("text too wide: " + std::string(utf8));
    std::size_t left = width - bytes.size();
    m_Bytes += bytes;
    for (; left >= pad.size(); left -= pad.size()) m_Bytes += pad;
    m_Bytes.append(left, ' ');
  }

  std::string Take() { return std::move(m_Bytes); }

 private:
  std::string m_Bytes;
};

void AppendCourseBlockA(cRecordBuilder& b, const SampleCourse& c) {
  b.Number(c.starts, 3);
  b.Number(c.topTwoPerMille, 4);
  b.Number(c.startTiming, 3);
  b.Number(c.startOrder, 3);
}

void AppendCourseBlockB(cRecordBuilder& b, const SampleCourse& c) {
  for (int places : c.places) b.Number(places, 3);
  for (int count : {c.f0, c.l0, c.l1, c.k0, c.k1, c.s0, c.s1, c.s2}) b.Number(count, 2);
}

void AppendProfile(cRecordBuilder& b, const SampleRacer& r) {
  b.Number(r.number, 4);
  b.Text(r.family + "　" + r.given, 16, kFullWidthSpace);
  b.Text(r.familyKana + " " + r.givenKana, 15);
  b.Text(r.branch, 4);
  b.Text(r.klass, 2);
  b.Text(r.birth, 7);
  b.Number(r.sex, 1);
  b.Number(r.age, 2);
  b.Number(r.height, 3);
  b.Number(r.weight, 2);
  b.Text(r.blood, 2);
}

void AppendOverall(cRecordBuilder& b, const SampleRacer& r) {
  b.Number(r.winRate, 4);
  b.Number(r.topTwoPerMille, 4);
  b.Number(r.firsts, 3);
  b.Number(r.seconds, 3);
  b.Number(r.starts, 3);
  b.Number(r.finals, 2);
  b.Number(r.titles, 2);
  b.Number(r.startTiming, 3);
}

void AppendHistoryAndPeriod(cRecordBuilder& b, const SampleRacer& r) {
  for (const std::string& klass : r.classOld) b.Text(klass, 2);
  b.Number(r.abilityOld, 4);
  b.Number(r.ability, 4);
  b.Text(kSampleNen, 4);
  b.Text(kSampleKi, 1);
  b.Text(kSampleYmdStart, 8);
  b.Text(kSampleYmdEnd, 8);
  b.Number(r.trainingTerm, 3);
}

}  // namespace

std::string SampleRecord(const SampleRacer& racer) {
  cRecordBuilder b;
  AppendProfile(b, racer);
  AppendOverall(b, racer);
  for (const SampleCourse& c : racer.courses) AppendCourseBlockA(b, c);
  AppendHistoryAndPeriod(b, racer);
  for (const SampleCourse& c : racer.courses) AppendCourseBlockB(b, c);
  for (int count : {racer.outsideL0, racer.outsideL1, racer.outsideK0, racer.outsideK1}) b.Number(count, 2);
  b.Text(racer.birthplace, 6);
  std::string record = b.Take();
  if (record.size() != kSampleRecordBytes) throw std::logic_error("record is not 416 bytes");
  return record;
}
