#include "sensyu/FieldConvert.h"
#include "sensyu/cSensyuFile.h"

// Figures derived from the stored counts on every call. Running sums are
// single precision; the quotient and the product by 100 are double and are
// rounded to single once, on return.

namespace {

float Percent(float sum, int16_t denominator) {
  return static_cast<float>(static_cast<double>(sum) / denominator * 100.0);
}

}  // namespace

int16_t cSensyuFile::FTimes(const std::string& strSensyuNo) const {
  const auto slot = static_cast<std::size_t>(FindSensyuIndex(strSensyuNo));
  if (slot == 0) return 0;
  int16_t total = 0;
  for (std::size_t k = 1; k <= 6; ++k) total = Add16(m_CourseF0Times[slot][k], total);
  return total;
}

int16_t cSensyuFile::LTimes(const std::string& strSensyuNo) const {
  const auto slot = static_cast<std::size_t>(FindSensyuIndex(strSensyuNo));
  if (slot == 0) return 0;
  int16_t total = 0;
  for (std::size_t k = 1; k <= 6; ++k) {
    total = Add16(Add16(m_CourseL0Times[slot][k], total), m_CourseL1Times[slot][k]);
  }
  return Add16(Add16(m_OutsideCourseL0Times[slot], total), m_OutsideCourseL1Times[slot]);
}

float cSensyuFile::Rentairitu1(const std::string& strSensyuNo) const {
  return Nyuchakuritu(strSensyuNo, 1);
}

float cSensyuFile::Rentairitu2(const std::string& strSensyuNo) const {
  const auto slot = static_cast<std::size_t>(FindSensyuIndex(strSensyuNo));
  if (slot == 0 || m_SyussoTimes[slot] == 0) return 0.0f;
  float sum = 0.0f;
  for (std::size_t k = 1; k <= 6; ++k) {
    sum = sum + m_Course1FinishTimes[slot][k] + m_Course2FinishTimes[slot][k];
  }
  return Percent(sum, m_SyussoTimes[slot]);
}

float cSensyuFile::Rentairitu3(const std::string& strSensyuNo) const {
  const auto slot = static_cast<std::size_t>(FindSensyuIndex(strSensyuNo));
  if (slot == 0 || m_SyussoTimes[slot] == 0) return 0.0f;
  float sum = 0.0f;
  for (std::size_t k = 1; k <= 6; ++k) {
    sum = sum + m_Course1FinishTimes[slot][k] + m_Course2FinishTimes[slot][k] +
          m_Course3FinishTimes[slot][k];
  }
  return Percent(sum, m_SyussoTimes[slot]);
}

float cSensyuFile::Nyuchakuritu(const std::string& strSensyuNo, int16_t intChaku) const {
  const auto slot = static_cast<std::size_t>(FindSensyuIndex(strSensyuNo));
  if (slot == 0 || m_SyussoTimes[slot] == 0) return 0.0f;
  const PerCourseInt* places[] = {&m_Course1FinishTimes, &m_Course2FinishTimes,
                                  &m_Course3FinishTimes, &m_Course4FinishTimes,
                                  &m_Course5FinishTimes, &m_Course6FinishTimes};
  float sum = 0.0f;
  for (std::size_t k = 1; k <= 6; ++k) {
    if (intChaku >= 1 && intChaku <= 6) {
      sum = sum + (*places[intChaku - 1])[slot][k];
    } else {
      // Results with a code instead of a place: F, L, K and S.
      sum = sum + m_CourseF0Times[slot][k] + m_CourseL0Times[slot][k] + m_CourseL1Times[slot][k] +
            m_CourseK0Times[slot][k] + m_CourseK1Times[slot][k] + m_CourseS0Times[slot][k] +
            m_CourseS1Times[slot][k] + m_CourseS2Times[slot][k];
    }
  }
  return Percent(sum, m_SyussoTimes[slot]);
}

float cSensyuFile::InSisu(const std::string& strSensyuNo) const {
  const auto slot = static_cast<std::size_t>(FindSensyuIndex(strSensyuNo));
  if (slot == 0 || m_SyussoTimes[slot] == 0) return 0.0f;
  // Course 1 weighs 6, course 6 weighs 1: 100 when every start was from course 1.
  float sum = 0.0f;
  for (std::size_t k = 1; k <= 6; ++k) {
    sum = sum + Mul16(static_cast<int16_t>(7 - k), m_CourseSyussoTimes[slot][k]);
  }
  return Percent(sum, Mul16(m_SyussoTimes[slot], 6));
}

float cSensyuFile::StratHatujyun(const std::string& strSensyuNo) const {
  const auto slot = static_cast<std::size_t>(FindSensyuIndex(strSensyuNo));
  if (slot == 0) return 0.0f;
  // Every course counts equally, started from or not.
  float sum = 0.0f;
  for (std::size_t k = 1; k <= 6; ++k) sum = sum + m_CourseStartHatujyun[slot][k];
  return static_cast<float>(static_cast<double>(sum) / 6.0);
}

float cSensyuFile::CourseRentairitu3(const std::string& strSensyuNo, int16_t intCourseNo) const {
  const int16_t starts = CourseSyussoTimes(strSensyuNo, intCourseNo);  // checks the course
  if (starts == 0) return 0.0f;
  const auto slot = static_cast<std::size_t>(FindSensyuIndex(strSensyuNo));
  const auto c = static_cast<std::size_t>(intCourseNo);
  float sum = 0.0f;
  sum = sum + m_Course1FinishTimes[slot][c] + m_Course2FinishTimes[slot][c] +
        m_Course3FinishTimes[slot][c];
  return Percent(sum, starts);
}
