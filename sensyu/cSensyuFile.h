#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "sensyu/SlotIndex.h"
#include "sensyu/WindowServices.h"

struct cRecordField;
struct cFieldStore;

/// Racer number list handed to FileLoad: positions 1..n live at [0..n-1].
/// An empty list asks the loader to fill it with every racer of the file.
using cSensyuNoList = std::vector<std::string>;

// All racers of one fan handbook file, held as parallel members indexed by
// slot (1..n; slot 0 is the never-filled "not loaded" slot) and, for the
// course tables, by course 1..6. Every racer property looks the racer up by
// number on each call and answers 0, 0.0 or "" for a racer that is not loaded.
class cSensyuFile {
 public:
  explicit cSensyuFile(cWindowServices& window) : m_Window(window) {}

  /// Loads the file in the current layout (intRev 0) or the Old2 layout (any
  /// other value). False after a failure that was shown to the user.
  bool FileLoad(const std::string& strFileName, cSensyuNoList& vntSensyuNo, int16_t intRev = 0);
  bool FileLoadOld2(const std::string& strFileName, cSensyuNoList& vntSensyuNo);
  /// FileLoad of a file already read: the same matching, the same messages.
  bool LoadBytes(std::string_view bytes, cSensyuNoList& vntSensyuNo, int16_t intRev = 0);
  /// Period label such as "2020年後期".
  std::string GetSensyuFileVersion() const;

  // Overall results and rates.
  float StratHatujyun(const std::string& strSensyuNo) const;
  float InSisu(const std::string& strSensyuNo) const;
  int16_t FTimes(const std::string& strSensyuNo) const;
  int16_t LTimes(const std::string& strSensyuNo) const;
  float Rentairitu1(const std::string& strSensyuNo) const;
  float Rentairitu2(const std::string& strSensyuNo) const;
  float Rentairitu3(const std::string& strSensyuNo) const;
  float Nyuchakuritu(const std::string& strSensyuNo, int16_t intChaku) const;
  float Syoritu(const std::string& strSensyuNo) const;
  float FSyoritu(const std::string& strSensyuNo) const;
  float StartTiming(const std::string& strSensyuNo) const;
  int16_t SyussoTimes(const std::string& strSensyuNo) const;
  int16_t OneFinishTimes(const std::string& strSensyuNo) const;
  int16_t TwoFinishTimes(const std::string& strSensyuNo) const;
  int16_t YusyutuTimes(const std::string& strSensyuNo) const;
  int16_t YusyoTimes(const std::string& strSensyuNo) const;

  // File-level values.
  int16_t LastYoseiKi() const { return m_LastYoseiKi; }
  int16_t Nen() const { return m_Nen; }
  int16_t Ki() const { return m_Ki; }
  std::string YmdStart() const { return m_YmdStart; }
  std::string YmdEnd() const { return m_YmdEnd; }

  // Outside-course counts.
  int16_t OutsideCourseL0Times(const std::string& strSensyuNo) const;
  int16_t OutsideCourseL1Times(const std::string& strSensyuNo) const;
  int16_t OutsideCourseK0Times(const std::string& strSensyuNo) const;
  int16_t OutsideCourseK1Times(const std::string& strSensyuNo) const;

  // Profile.
  int16_t YoseiKi(const std::string& strSensyuNo) const;
  int16_t abilityOld(const std::string& strSensyuNo) const;
  int16_t Ability(const std::string& strSensyuNo) const;
  std::string ClassOld1(const std::string& strSensyuNo) const;
  std::string ClassOld2(const std::string& strSensyuNo) const;
  std::string ClassOld3(const std::string& strSensyuNo) const;
  int16_t Age(const std::string& strSensyuNo) const;
  std::string Birth(const std::string& strSensyuNo) const;
  /// Birthplace: the trailing field of a 416-byte record, else the branch field.
  std::string Birthplace(const std::string& strSensyuNo) const;
  /// Branch (支部): the 4-byte field at offset 35.
  std::string Branch(const std::string& strSensyuNo) const;
  std::string Blood(const std::string& strSensyuNo) const;
  std::string Class(const std::string& strSensyuNo) const;
  int16_t Height(const std::string& strSensyuNo) const;
  std::string NameKana(const std::string& strSensyuNo) const;
  std::string NameKanji(const std::string& strSensyuNo) const;
  /// Racer number in slot `index` (0..n); "" for slot 0; throws std::out_of_range outside.
  std::string SensyuNo(int16_t index) const;
  int16_t Sex(const std::string& strSensyuNo) const;
  int16_t Weight(const std::string& strSensyuNo) const;

  // Per course (intCourseNo 1..6; outside that, std::out_of_range for a loaded racer).
  int16_t CourseS2Times(const std::string& strSensyuNo, int16_t intCourseNo) const;
  int16_t CourseS1Times(const std::string& strSensyuNo, int16_t intCourseNo) const;
  int16_t CourseS0Times(const std::string& strSensyuNo, int16_t intCourseNo) const;
  int16_t CourseK1Times(const std::string& strSensyuNo, int16_t intCourseNo) const;
  int16_t CourseK0Times(const std::string& strSensyuNo, int16_t intCourseNo) const;
  int16_t CourseL1Times(const std::string& strSensyuNo, int16_t intCourseNo) const;
  int16_t CourseL0Times(const std::string& strSensyuNo, int16_t intCourseNo) const;
  int16_t CourseF0Times(const std::string& strSensyuNo, int16_t intCourseNo) const;
  int16_t Course6FinishTimes(const std::string& strSensyuNo, int16_t intCourseNo) const;
  int16_t Course5FinishTimes(const std::string& strSensyuNo, int16_t intCourseNo) const;
  int16_t Course4FinishTimes(const std::string& strSensyuNo, int16_t intCourseNo) const;
  int16_t Course1FinishTimes(const std::string& strSensyuNo, int16_t intCourseNo) const;
  int16_t Course2FinishTimes(const std::string& strSensyuNo, int16_t intCourseNo) const;
  int16_t Course3FinishTimes(const std::string& strSensyuNo, int16_t intCourseNo) const;
  float CourseStartHatujyun(const std::string& strSensyuNo, int16_t intCourseNo) const;
  int16_t CourseSyussoTimes(const std::string& strSensyuNo, int16_t intCourseNo) const;
  float CourseFSyoritu(const std::string& strSensyuNo, int16_t intCourseNo) const;
  float CourseStartTiming(const std::string& strSensyuNo, int16_t intCourseNo) const;
  float CourseRentairitu3(const std::string& strSensyuNo, int16_t intCourseNo) const;

  /// A record field's value as the loader stored it: text, a 16-bit count or a float.
  using cFieldValue = std::variant<std::string, int16_t, float>;
  /// The racer's value of the field in row `row` of the record layout (cRecordField::row), at
  /// course intCourseNo (1..6) for a course field; the file's value for a period field; the
  /// zero value of the field's type for a racer that is not loaded.
  cFieldValue FieldValue(const std::string& strSensyuNo, int row, int16_t intCourseNo) const;

  /// Number of slots (n); 0 before the first load.
  int16_t SlotCount() const;

  using PerRacerText = std::vector<std::string>;
  using PerRacerInt = std::vector<int16_t>;
  using PerRacerFloat = std::vector<float>;
  using PerCourseInt = std::vector<std::array<int16_t, 7>>;  // [slot][1..6]
  using PerCourseFloat = std::vector<std::array<float, 7>>;

 private:
  friend struct cFieldTable;  // the record layout names the member of each field

  // The file's period as the records give it: every record carries it, and
  // the last record that got as far as a field decides that field.
  struct cPeriodFields {
    std::optional<int16_t> nen, ki;
    std::optional<std::string> ymdStart, ymdEnd;
    /// Takes every field that a later stretch of records set.
    void TakeLater(cPeriodFields&& later);
  };

  int16_t FindSensyuIndex(const std::string& strSensyuNo) const;
  void InitSensyuData(int16_t n);
  template <class T>
  T Stored(const std::vector<T>& member, const std::string& strSensyuNo) const;
  template <class T>
  T StoredCourse(const std::vector<std::array<T, 7>>& member, const std::string& strSensyuNo,
                 int16_t intCourseNo) const;
  void ShowLoadError(const std::string& text) const;
  void RebuildIndex();
  void SetSensyuData(int16_t slot, std::string_view line, cPeriodFields& period);
  void SetSensyuDataOld2(int16_t slot, std::string_view line, cPeriodFields& period);
  void SetSensyuDataByLayout(int16_t slot, std::string_view line, bool isOld2, cPeriodFields& period);
  void ParseRecord(std::size_t slot, std::string_view line, bool isOld2, cPeriodFields& period);
  void StoreField(std::size_t slot, const cRecordField& field, const cFieldStore& store, std::string_view line,
                  cPeriodFields& period);
  // Fills each slot from its line (-1: none), spread over the processor cores.
  void ParseSlots(const std::vector<std::string_view>& lines, const std::vector<int>& lineOfSlot, bool isOld2);

  cWindowServices& m_Window;

  PerRacerText m_SensyuNo, m_NameKanji, m_NameKana, m_Branch, m_Birthplace, m_Class, m_Birth;
  PerRacerInt m_Sex, m_Age, m_Height, m_Weight;
  PerRacerText m_Blood;
  PerRacerFloat m_Syoritu, m_FSyoritu;
  PerRacerInt m_OneFinishTimes, m_TwoFinishTimes, m_SyussoTimes, m_YusyutuTimes, m_YusyoTimes;
  PerRacerFloat m_StartTiming;
  PerCourseInt m_CourseSyussoTimes;
  PerCourseFloat m_CourseFSyoritu, m_CourseStartTiming, m_CourseStartHatujyun;
  PerRacerText m_ClassOld1, m_ClassOld2, m_ClassOld3;
  PerRacerInt m_abilityOld, m_Ability;
  int16_t m_Nen = 0;
  int16_t m_Ki = 0;
  std::string m_YmdStart, m_YmdEnd;
  PerRacerInt m_YoseiKi;
  PerCourseInt m_Course1FinishTimes, m_Course2FinishTimes, m_Course3FinishTimes,
      m_Course4FinishTimes, m_Course5FinishTimes, m_Course6FinishTimes;
  PerCourseInt m_CourseF0Times, m_CourseL0Times, m_CourseL1Times, m_CourseK0Times,
      m_CourseK1Times, m_CourseS0Times, m_CourseS1Times, m_CourseS2Times;
  PerRacerInt m_OutsideCourseL0Times, m_OutsideCourseL1Times, m_OutsideCourseK0Times,
      m_OutsideCourseK1Times;
  int16_t m_LastYoseiKi = 0;

  // Racer number -> lowest slot holding it; rebuilt after every load.
  cSlotIndex m_SlotOf;
};
